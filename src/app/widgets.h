// The panels' small widget library: controls with the design's object names, and the one rule by
// which the game's text is shown.
#pragma once

#include <QColor>
#include <QGridLayout>
#include <QLabel>
#include <QSlider>
#include <QString>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qh::app {

// The game's text (UTF-8 bytes) where it is only shown (a label, a list, a selector): decoded,
// a byte that starts no valid sequence shown as U+FFFD, and trimmed of blanks and control
// characters at both ends, as the game shows a name.
QString ShownText(const std::string& utf8);
// The game's text in a box that edits it: decoded, and nothing else, so that what the box shows
// is what is stored, and a keystroke changes only what the player typed.
QString EditedText(const std::string& utf8);

// The colour of a link in a colour scheme (0 light, 1 dark), under the pointer or not: at least
// 4.5:1 against the scheme's background. Light: a dark blue (8.6:1 on white) and a dark red
// (6.5:1); dark: a light blue (9.3:1 on black) and a light red (8.4:1). Pure blue on black would
// read at 2.4:1.
QColor LinkColor(int scheme, bool hover = false);

// A control's tooltip: what it changes in the game. It is kept, so that a refusal shown in its
// place while the control is disabled gives way to it again.
void SetTip(QWidget* control, const QString& tip);
// The refusal as the tooltip when there is one, else the control's own tip.
void ShowRefusalOrTip(QWidget* control, const QString& refusal);

// A horizontal slider with its object name and range.
QSlider* NamedSlider(QWidget* parent, const QString& name, int low, int high);
// The marks under a slider: a tick every `interval` at the places the handle takes, the zero
// taller and numbered (a style sheet that draws the slider hides its own ticks).
class TickScale : public QWidget {
public:
    TickScale(QSlider* slider, int interval, QWidget* parent);
    QSize sizeHint() const override { return {0, 20}; }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QSlider* slider_;
    int interval_;
};

// A label with its object name (and text).
QLabel* NamedLabel(QWidget* parent, const QString& name, const QString& text = {});
// A control's object name from a field's: ("trk", "geneticNeat") is "trkGeneticNeat".
QString ControlName(const char* prefix, std::string_view field);

// One row of a form of like controls over a sim's fields: the slider's and its label's object
// names, the range, the label's text for a value, and whether the row is shown now.
struct FieldRow {
    QString slider;
    QString label;
    int low = 0;
    int high = 1000;
    std::function<QString(int value)> text;
    std::function<bool()> shown;  // null: always
};

// A column (or columns) of labelled sliders built from field rows, for the panels that are rows
// of like controls over a sim's fields: the rows say what the form shows; the panel says what a
// move stores. `moved` gives the moved slider's name (the merge key of a drag).
class SliderForm : public QWidget {
public:
    SliderForm(QWidget* parent, std::vector<FieldRow> rows, int rowsPerColumn,
               std::function<void(const QString& slider)> moved);
    const std::vector<QSlider*>& sliders() const { return sliders_; }
    std::vector<int> Values() const;
    // The labels' texts and the rows' visibility, as the rows say now.
    void Relabel();
    QGridLayout* grid() const { return grid_; }

private:
    std::vector<FieldRow> rows_;
    std::vector<QSlider*> sliders_;
    std::vector<QLabel*> labels_;
    QGridLayout* grid_;
};

}  // namespace qh::app
