#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

namespace tepa::platform {

// Runs `answer` on the next modal window once it is open (within about two seconds); a window
// the answer did not end is closed with a failure instead of hanging the test.
inline void whenModalOpens(std::function<void(QWidget*)> answer)
{
    auto* poll = new QTimer(qApp);
    auto attempts = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, qApp, [poll, attempts, answer] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal && ++*attempts < 200)
            return;
        poll->stop();
        poll->deleteLater();
        if (!modal) {
            ADD_FAILURE() << "no modal window opened";
            return;
        }
        answer(modal);
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
