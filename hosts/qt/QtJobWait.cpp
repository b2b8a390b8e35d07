#include "hosts/qt/QtJobWait.h"

#include <QApplication>
#include <QEventLoop>
#include <QMetaObject>
#include <QPointer>
#include <QWidget>

#include <exception>
#include <thread>
#include <vector>

namespace brimwell {

void QtJobWait::Run(const std::function<void()>& work) {
    // The windows the user could act in are disabled, and enabled again afterwards; one that
    // went away meanwhile is skipped.
    std::vector<QPointer<QWidget>> disabled;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window->isEnabled()) {
            window->setEnabled(false);
            disabled.emplace_back(window);
        }
    }
    QEventLoop loop;
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        // Queued: the loop quits from its own thread, after exec has started.
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();
    for (const QPointer<QWidget>& window : disabled) {
        if (window) {
            window->setEnabled(true);
        }
    }
    if (failure) {
        std::rethrow_exception(failure);
    }
}

} // namespace brimwell
