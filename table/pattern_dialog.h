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

class TfmPattern : public QDialog {
    Q_OBJECT

public:
    // images: the ten patterns, all of one size; selected: the pattern to start on.
    TfmPattern(const PatternImages& images, int selected, QWidget* parent = nullptr);

    int Selected() const { return selected_; }

    // Where image i is drawn on the pattern area.
    QRect ImageRect(int index) const;

private:
    class PatternArea;
    friend class PatternArea;

    void Select(int index);

    PatternImages images_;
    int selected_;
    PatternArea* area_ = nullptr;
    QPushButton* bnOk = nullptr;
    QPushButton* bnCancel = nullptr;
};

}  // namespace meldora
