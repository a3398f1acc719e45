// The Career panel: a sim's career and level with the level's hours, pay and working days, job
// performance, the career an elder retired from, pension, vacation days, the NPC type, and for an
// owned business the job assigned on its lot and the business's name.
#pragma once

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <array>

#include "app/panels/panel.h"

namespace qh::app {

class CareerPanel : public Panel {
public:
    CareerPanel(Document& document, PanelContext& context, const PanelRow& row);
    void AdvancedChanged() override;

protected:
    void Fill() override;  // btnCareerClick

private:
    void cbCareerChange(int index);
    void cbJobsChange(int index);
    void cbRetCareerChange(int index);
    void cbRetJobsChange(int index);
    void trkJobPerformanceChange(int value);
    void edtPensionKeyUp();
    void edtPTOKeyUp();
    void cbNPCTypeChange(int index);
    // The level's hours, pay and working days, for the career selected in the list.
    void ShowSchedule(int level);
    void ShowAssignment(const Character& sim);
    void Say(const QString& message);

    QLabel* lblCareer_;
    QComboBox* cbCareer_;
    QLabel* lblJob_;
    QComboBox* cbJobs_;
    QLabel* lblHours_;
    QLabel* lblSalary_;
    QLabel* lblWorkDays_;
    std::array<QLabel*, 7> dayLetters_{};
    std::array<QLabel*, 7> dayMarks_{};
    QLabel* lblJobPerformance_;
    QSlider* trkJobPerformance_;
    QLabel* lblRetCareer_;
    QComboBox* cbRetCareer_;
    QLabel* lblRetJob_;
    QComboBox* cbRetJobs_;
    QLabel* lblPension_;
    QLineEdit* edtPension_;
    QLabel* lblPTO_;
    QLineEdit* edtPTO_;
    QLabel* lblNPCType_;
    QComboBox* cbNPCType_;
    QLabel* lblCurrentAssignment_;
    QLabel* lblJobLotName_;
    QLabel* lblLotJobFlags_;  // never shown
    QLabel* lblJobData_;      // never shown
};

}  // namespace qh::app
