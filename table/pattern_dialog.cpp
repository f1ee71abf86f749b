#include "table/pattern_dialog.h"

#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace meldora {

namespace {
constexpr int kGap = 5;
}

// The area the ten images are painted on; a left button release on an image selects it.
class PatternDialog::PatternArea : public QWidget {
public:
    explicit PatternArea(PatternDialog& owner) : owner_(owner)
    {
        setObjectName(QStringLiteral("pnPatterns"));
        const QSize image = owner.images_[0].deviceIndependentSize().toSize();
        setFixedSize(5 * (image.width() + kGap) + kGap, 2 * (image.height() + kGap) + kGap);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        for (int i = 0; i < PatternCount; ++i) {
            const QRect rect = owner_.imageRect(i);
            if (i != owner_.selected_) {
                painter.drawPixmap(rect.topLeft(), owner_.images_[i]);
                continue;
            }
            // The selected style: the picture tinted with the highlight colour, framed.
            QPixmap tinted = owner_.images_[i];
            {
                QPainter tint(&tinted);
                tint.setCompositionMode(QPainter::CompositionMode_SourceAtop);
                QColor highlight = palette().color(QPalette::Highlight);
                highlight.setAlpha(120);
                tint.fillRect(QRect(QPoint(0, 0), rect.size()), highlight);
            }
            painter.drawPixmap(rect.topLeft(), tinted);
            painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
            painter.drawRect(rect.adjusted(-2, -2, 1, 1));
        }
    }

    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (event->button() != Qt::LeftButton)
            return;
        for (int i = 0; i < PatternCount; ++i)
            if (owner_.imageRect(i).contains(event->position().toPoint())) {
                owner_.select(i);
                return;
            }
    }

private:
    PatternDialog& owner_;
};

PatternDialog::PatternDialog(const PatternImages& images, int selected, QWidget* parent)
    : QDialog(parent), images_(images), selected_(selected >= 0 && selected < PatternCount ? selected : 0)
{
    setObjectName(QStringLiteral("fmPattern"));
    setWindowTitle(QStringLiteral("Select Card Back Pattern"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 6, 6);
    area_ = new PatternArea(*this);
    layout->addWidget(area_);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    okButton_ = new QPushButton(QStringLiteral("OK"));
    okButton_->setObjectName(QStringLiteral("bnOk"));
    okButton_->setDefault(true);
    cancelButton_ = new QPushButton(QStringLiteral("Cancel"));
    cancelButton_->setObjectName(QStringLiteral("bnCancel"));
    buttons->addWidget(okButton_);
    buttons->addWidget(cancelButton_);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
}

QRect PatternDialog::imageRect(int index) const
{
    const QSize image = images_[0].deviceIndependentSize().toSize();
    return QRect((index % 5) * (image.width() + kGap) + kGap, (index / 5) * (image.height() + kGap) + kGap,
                 image.width(), image.height());
}

void PatternDialog::select(int index)
{
    if (index == selected_)
        return;
    selected_ = index;
    area_->update();
}

}  // namespace meldora
