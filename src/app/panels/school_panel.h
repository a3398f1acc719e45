// The School panel: a child's or teen's school, grade and performance; a grown-up's university
// major and class with its hours and year; a young adult's class performance, GPA and remaining
// hours of the grade period.
#pragma once

#include <QComboBox>
#include <QLabel>
#include <QSlider>

#include "app/panels/panel.h"

namespace qh::app {

class SchoolPanel : public Panel {
public:
    SchoolPanel(Document& document, PanelContext& context, const PanelRow& row);
    void AdvancedChanged() override;

protected:
    void Fill() override;  // btnSchoolClick

private:
    void cbSchoolChange(int index);
    void cbGradeChange(int index);
    void trkSchoolPerformanceChange(int value);
    void cbUniversityMajorChange(int index);
    void cbUniversityClassChange(int index);
    void ShowClass(const Character& sim);
    void SliderChange(QSlider* slider, int value);

    QLabel* lblSchool_;
    QComboBox* cbSchool_;
    QLabel* lblGrade_;
    QComboBox* cbGrade_;
    QLabel* lblSchoolNote_;
    QLabel* lblSchoolPerformance_;
    QSlider* trkSchoolPerformance_;
    QLabel* lblUniversityMajor_;
    QComboBox* cbUniversityMajor_;
    QLabel* lblUniversityClass_;
    QComboBox* cbUniversityClass_;
    QLabel* lblUniversityYear_;
    QLabel* lblClassHours_;
    QLabel* lblClassPerformance_;
    QSlider* trkClassPerformance_;
    QLabel* lblGPA_;
    QSlider* trkGPA_;
    QLabel* lblGradePeriod_;
    QSlider* trkGradePeriod_;
    QLabel* lblNothing_;
};

}  // namespace qh::app
