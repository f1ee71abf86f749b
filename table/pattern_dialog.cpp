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
class TfmPattern::PatternArea : public QWidget {
public:
    explicit PatternArea(TfmPattern& owner) : owner_(owner)
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
            const QRect rect = owner_.ImageRect(i);
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
            if (owner_.ImageRect(i).contains(event->position().toPoint())) {
                owner_.Select(i);
                return;
            }
    }

private:
    TfmPattern& owner_;
};

TfmPattern::TfmPattern(const PatternImages& images, int selected, QWidget* parent)
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
    bnOk = new QPushButton(QStringLiteral("OK"));
    bnOk->setObjectName(QStringLiteral("bnOk"));
    bnOk->setDefault(true);
    bnCancel = new QPushButton(QStringLiteral("Cancel"));
    bnCancel->setObjectName(QStringLiteral("bnCancel"));
    buttons->addWidget(bnOk);
    buttons->addWidget(bnCancel);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(bnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(bnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

QRect TfmPattern::ImageRect(int index) const
{
    const QSize image = images_[0].deviceIndependentSize().toSize();
    return QRect((index % 5) * (image.width() + kGap) + kGap, (index / 5) * (image.height() + kGap) + kGap,
                 image.width(), image.height());
}

void TfmPattern::Select(int index)
{
    if (index == selected_)
        return;
    selected_ = index;
    area_->update();
}

}  // namespace meldora
