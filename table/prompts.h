#pragma once
#include <QString>
#include <functional>
class QWidget;
namespace meldora::prompts {
// Every message box, input box and file dialog of the program goes through here,
// so widget tests can script the answers.
void warning(QWidget* parent, const QString& text);
void error(QWidget* parent, const QString& text);
void information(QWidget* parent, const QString& text);
bool confirm(QWidget* parent, const QString& text);  // Yes/No; true only on Yes
QString openFileName(QWidget* parent, const QString& title, const QString& dir, const QString& filter);
QString saveFileName(QWidget* parent, const QString& title, const QString& dir, const QString& filter);
QString inputText(QWidget* parent, const QString& title, const QString& label, const QString& value, bool* ok);
enum class Kind { Warning, Error, Information, Confirmation, OpenFile, SaveFile, Input };
struct Request { Kind kind; QString title; QString text; };
// When a responder is installed, no window is shown: the responder gets each request and returns
// the answer ("yes"/"no" for confirmations, a file name or typed text, or empty).
using Responder = std::function<QString(const Request&)>;
void setResponder(Responder responder);  // empty function: real dialogs again
}
