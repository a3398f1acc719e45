// The named operations on one sim, in one table: the command-line tool's `set` options are built
// from it, and each entry calls the very rule the panel's control calls, so a change made from a
// shell is the change the window would make.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "platform/game_environment.h"
#include "workspace/model.h"

namespace qh {

struct SimOperationContext {
    Workspace& workspace;
    const GameEnvironment& env;
    bool advanced = false;  // the window's advanced mode, where its rules depend on it
};

struct SimOperation {
    std::string_view name;       // the option's name: "life-stage" for --life-stage
    std::string_view valueHelp;  // what the value is
    // Applies the rule with the value as typed; returns why the value was refused, else "".
    std::string (*apply)(SimOperationContext& context, Character& sim, std::string_view value);
    bool flag = false;  // takes no value (apply gets an empty one)
    // Changes what the sim's description or its items hold, which a sim without a description
    // cannot keep.
    bool needsDescription = true;
};

// Applies an operation as the panels would: refused, with the reason, where the panel's control
// is disabled.
std::string ApplySimOperation(const SimOperation& operation, SimOperationContext& context, Character& sim,
                              std::string_view value);

// In the order a command applies them.
std::span<const SimOperation> SimOperations();
const SimOperation* FindSimOperation(std::string_view name);

}  // namespace qh
