#include "table/prompts.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace meldora::prompts {

namespace {

const QString kCaption = QStringLiteral("Meldora");

Responder& currentResponder()
{
    static Responder responder;
    return responder;
}

// Asks the installed responder, if any. Returns false when the real dialog has to be shown.
bool scripted(Kind kind, const QString& title, const QString& text, QString* answer)
{
    const Responder& responder = currentResponder();
    if (!responder)
        return false;
    const QString reply = responder(Request{kind, title, text});
    if (answer)
        *answer = reply;
    return true;
}

void showBox(QWidget* parent, QMessageBox::Icon icon, Kind kind, const QString& text)
{
    if (scripted(kind, kCaption, text, nullptr))
        return;
    QMessageBox box(icon, kCaption, text, QMessageBox::Ok, parent);
    box.exec();
}

}  // namespace

void setResponder(Responder responder)
{
    currentResponder() = std::move(responder);
}

void warning(QWidget* parent, const QString& text)
{
    showBox(parent, QMessageBox::Warning, Kind::Warning, text);
}

void error(QWidget* parent, const QString& text)
{
    showBox(parent, QMessageBox::Critical, Kind::Error, text);
}

void information(QWidget* parent, const QString& text)
{
    showBox(parent, QMessageBox::Information, Kind::Information, text);
}

bool confirm(QWidget* parent, const QString& text)
{
    QString answer;
    if (scripted(Kind::Confirmation, kCaption, text, &answer))
        return answer.compare(QStringLiteral("yes"), Qt::CaseInsensitive) == 0;
    QMessageBox box(QMessageBox::Question, kCaption, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

// A scripted file dialog is asked with the starting folder or file name as its text;
// an empty answer is a cancelled dialog, as with the real one.
QString openFileName(QWidget* parent, const QString& title, const QString& dir, const QString& filter)
{
    QString answer;
    if (scripted(Kind::OpenFile, title, dir, &answer))
        return answer;
    return QFileDialog::getOpenFileName(parent, title, dir, filter);
}

QString saveFileName(QWidget* parent, const QString& title, const QString& dir, const QString& filter)
{
    QString answer;
    if (scripted(Kind::SaveFile, title, dir, &answer))
        return answer;
    return QFileDialog::getSaveFileName(parent, title, dir, filter);
}

// A scripted input box is asked with its label as the text. A null answer (QString())
// is Cancel; any other answer, even an empty one, is OK with that text.
QString inputText(QWidget* parent, const QString& title, const QString& label, const QString& value, bool* ok)
{
    QString answer;
    if (scripted(Kind::Input, title, label, &answer)) {
        if (ok)
            *ok = !answer.isNull();
        return answer.isNull() ? QString() : answer;
    }
    bool accepted = false;
    const QString text = QInputDialog::getText(parent, title, label, QLineEdit::Normal, value, &accepted);
    if (ok)
        *ok = accepted;
    return accepted ? text : QString();
}

}  // namespace meldora::prompts
