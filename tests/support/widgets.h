// Finding a window's controls by name, and answering the modal window an action opens.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QListWidget>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace meldora::test {

// The named control; a missing one fails the test.
template <typename T>
T* Child(const QObject& parent, const QString& name)
{
    T* child = parent.findChild<T*>(name);
    if (!child)
        ADD_FAILURE() << "no control " << name.toStdString();
    return child;
}

// The texts of the list's items, in order.
inline QStringList ItemTexts(const QListWidget* list)
{
    QStringList texts;
    for (int i = 0; list && i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

// Runs `answer` on the modal window that the next blocking call opens.
inline void WhenModalOpens(std::function<void(QWidget&)> answer)
{
    QTimer::singleShot(0, [answer] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        answer(*modal);
    });
}

}  // namespace meldora::test
