// The chooser of the ten standard card back patterns, shown in two rows of five.
// Created for one modal showing; OK returns the selection, Cancel discards it.
#pragma once

#include <QDialog>
#include <QPixmap>
#include <array>

#include "table/card_backs.h"

class QPushButton;

namespace meldora {

using PatternImages = std::array<QPixmap, PatternCount>;

class PatternDialog : public QDialog {
    Q_OBJECT

public:
    // images: the ten patterns, all of one size; selected: the pattern to start on.
    PatternDialog(const PatternImages& images, int selected, QWidget* parent = nullptr);

    int selected() const { return selected_; }

    // Where image i is drawn on the pattern area.
    QRect imageRect(int index) const;

private:
    class PatternArea;
    friend class PatternArea;

    void select(int index);

    PatternImages images_;
    int selected_;
    PatternArea* area_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

}  // namespace meldora
