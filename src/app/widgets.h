// The panels' small widget library: controls with the design's object names, and the one rule by
// which the game's text is shown.
#pragma once

#include <QLabel>
#include <QSlider>
#include <QString>
#include <string>
#include <string_view>

namespace qh::app {

// The game's text (UTF-8 bytes) where it is only shown (a label, a list, a selector): decoded,
// a byte that starts no valid sequence shown as U+FFFD, and trimmed of blanks and control
// characters at both ends, as the game shows a name.
QString ShownText(const std::string& utf8);
// The game's text in a box that edits it: decoded, and nothing else, so that what the box shows
// is what is stored, and a keystroke changes only what the player typed.
QString EditedText(const std::string& utf8);

// A horizontal slider with its object name and range.
QSlider* NamedSlider(QWidget* parent, const QString& name, int low, int high);
// A label with its object name (and text).
QLabel* NamedLabel(QWidget* parent, const QString& name, const QString& text = {});
// A control's object name from a field's: ("trk", "geneticNeat") is "trkGeneticNeat".
QString ControlName(const char* prefix, std::string_view field);

}  // namespace qh::app
