// The named operations on one sim, in one table: the command-line tool's `set` options are built
// from it, and each entry calls the very rule the panel's control calls, so a change made from a
// shell is the change the window would make. The operations live by subject in
// `workspace/operations/`; this is their one table.
//
// One door per field: a field an operation names (or a panel's row table behind it: the trait
// sliders, the need speeds, the Character panel's words) is governed. `set FIELD=VALUE` of a
// governed field goes through that operation's rule, with its ranges, refusals and messages, or
// is refused naming the option to use; only `--raw` writes a governed field as typed.
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
    bool advanced = false;  // the window's advanced mode: what it shows, the operations allow
};

// What an operation may change, and so what an undoable step of it keeps: the sim's record and
// its own items; the households (and the sim a move takes in); relationship records and the items
// of the sims they concern; the family ties with the records a derivation touches.
enum class EditScope { Sim, Households, Relationships, Family };

struct SimOperation {
    std::string_view name;       // the option's name: "life-stage" for --life-stage
    std::string_view valueHelp;  // what the value is
    // Applies the rule with the value as typed; returns why the value was refused, else "".
    std::string (*apply)(SimOperationContext& context, Character& sim, std::string_view value);
    bool flag = false;  // takes no value (apply gets an empty one)
    // Changes what the sim's description or its items hold, which a sim without a description
    // cannot keep.
    bool needsDescription = true;
    // Changes the sims' items of the neighborhood data, which a neighborhood whose data could not
    // be read cannot keep (ItemsRefusal).
    bool needsItems = false;
    // The window offers it only in advanced mode.
    bool advancedOnly = false;
    EditScope scope = EditScope::Sim;
    // The fields of Character the operation sets (null: none by name); naming one governs it.
    bool (*governs)(std::string_view field) = nullptr;
    // How `set FIELD=VALUE` of a governed field runs the rule; null: it is refused, naming the
    // option.
    std::string (*fieldDoor)(SimOperationContext& context, Character& sim, std::string_view field,
                             std::string_view value) = nullptr;
};

// In the order a command applies them.
std::span<const SimOperation> SimOperations();
const SimOperation* FindSimOperation(std::string_view name);

// Applies an operation as the panels would: refused, with the reason, where the panel's control
// is disabled.
std::string ApplySimOperation(const SimOperation& operation, SimOperationContext& context, Character& sim,
                              std::string_view value);

// The operation that governs a field, or null for a free field.
const SimOperation* GoverningOperation(std::string_view field);

// `set FIELD=VALUE`: a governed field through its operation's rule (or refused, naming the
// option); a free field as typed; with `raw`, any settable field as typed, its rule bypassed.
std::string ApplyFieldAssignment(SimOperationContext& context, Character& sim, std::string_view field,
                                 std::string_view value, bool raw = false);

}  // namespace qh
