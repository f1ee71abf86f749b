// The Rules dialog: the thirteen rule options on four pages, with the "Hoyle Rules"
// preset. Created for one modal showing; OK stores the options in the settings store
// before the main window reads them back with options().
#pragma once

#include <QDialog>

#include "core/rule_options.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTabWidget;

namespace meldora {

class SettingsAccess;

class TfmRules : public QDialog {
    Q_OBJECT

public:
    TfmRules(const RuleOptions& current, bool gameInProgress, int rulesPage, SettingsAccess& settings,
             QWidget* parent = nullptr);

    // The options as the controls show them (item index + 1 for the two radio groups).
    RuleOptions options() const;
    // The page that is active now; after the dialog closed, the one to open on next time.
    int activePage() const;

private:
    void bnHoyleClick();
    void bnOKClick();
    void rgGoOutClick();
    void ckInitFreezeClick();
    void ckNaturalPairClick();
    void FitFont();
    void SetControls(const RuleOptions& options);

    SettingsAccess& settings_;
    bool gameInProgress_;

    QTabWidget* pages_ = nullptr;
    QCheckBox* ckAddTop = nullptr;
    QCheckBox* ckTopCount = nullptr;
    QCheckBox* ckInitFreeze = nullptr;
    QCheckBox* ckInitBlock = nullptr;
    QCheckBox* ckNaturalPair = nullptr;
    QCheckBox* ckAddExisting = nullptr;
    QCheckBox* ckDrawExtra = nullptr;
    QCheckBox* ckFreezeDiscard = nullptr;
    QCheckBox* ckRequired = nullptr;
    QCheckBox* ckBonus = nullptr;
    QCheckBox* ckwildcardallowed = nullptr;
    QGroupBox* rgGoOut = nullptr;
    QGroupBox* rgDrawn = nullptr;
    QButtonGroup* goOutItems_ = nullptr;
    QButtonGroup* drawnItems_ = nullptr;
    QLabel* lbWarning = nullptr;
    QPushButton* bnHoyle = nullptr;
    QPushButton* bnOK = nullptr;
    QPushButton* bnCancel = nullptr;
};

}  // namespace meldora
