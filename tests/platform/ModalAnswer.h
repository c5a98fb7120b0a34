#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace tepa::platform {

// Runs `answer` on the next modal window once it is open (within about two seconds); a window
// the answer did not end is closed with a failure instead of hanging the test.
inline void whenModalOpens(std::function<void(QWidget*)> answer)
{
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, qApp, [poll, answer, attempts = 0]() mutable {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal && ++attempts < 200)
            return;
        poll->deleteLater();
        poll->stop();
        if (modal)
            answer(modal);
        else
            ADD_FAILURE() << "no modal window opened";
        QTimer::singleShot(2000, qApp, [window = QPointer<QWidget>(modal)] {
            if (window && window == QApplication::activeModalWidget()) {
                ADD_FAILURE() << "the modal window was not answered";
                window->close();
            }
        });
    });
    poll->start(10);
}

} // namespace tepa::platform
