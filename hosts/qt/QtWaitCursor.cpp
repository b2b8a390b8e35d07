#include "hosts/qt/QtWaitCursor.h"

#include <QApplication>
#include <QCursor>

namespace brimwell {

void QtWaitCursor::Begin() {
    QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

void QtWaitCursor::End() {
    QApplication::restoreOverrideCursor();
}

} // namespace brimwell
