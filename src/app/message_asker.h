// The questions of the window in message boxes. Every question the program asks is whether to
// do something that cannot simply be taken back (delete, replace, overwrite, lose unsaved
// changes): Enter, and Escape, give the answer that leaves everything as it is.
#pragma once

#include "app/services.h"

namespace qh::app {

class MessageBoxAsker final : public Asker {
public:
    bool AskYesNo(const QString& question) override;
    bool AskOkCancel(const QString& question) override;
    bool Run(QDialog& dialog) override;
};

}  // namespace qh::app
