// The system's trash through Qt, made safe: a file goes only into a real trash folder.
#pragma once

#include "app/document.h"

namespace qh::app {

class QtTrash final : public Trash {
public:
    std::optional<QString> MoveToTrash(const QString& path) override;
    bool Restore(const QString& pathInTrash, const QString& path) override;
};

}  // namespace qh::app
