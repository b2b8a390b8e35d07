#include "platform/qt/QtFileDialog.h"

#include <QFileDialog>
#include <QStringList>

namespace brimwell {
namespace {

QString BothCases(const QString& pattern) {
    if (pattern == QLatin1String("*.*") || pattern == QLatin1String("*")) {
        return QStringLiteral("*");
    }
    const QString lower = pattern.toLower();
    const QString upper = pattern.toUpper();
    return lower == upper ? pattern : lower + QLatin1Char(' ') + upper;
}

} // namespace

QString QtNameFilters(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty()) {
            break;
        }
        QStringList patterns;
        for (const QString& p : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            patterns << BothCases(p.trimmed());
        }
        filters << QStringLiteral("%1 (%2)").arg(parts[i], patterns.join(QLatin1Char(' ')));
    }
    return filters.join(QStringLiteral(";;"));
}

std::optional<std::string> QtFileDialog::GetOpenFileName(const std::string& initialName,
                                                         const std::string& defaultExt,
                                                         const std::string& filter) {
    QFileDialog dialog(nullptr, QString(), QString::fromStdString(initialName),
                       QtNameFilters(filter));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (!defaultExt.empty()) {
        dialog.setDefaultSuffix(QString::fromStdString(defaultExt));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().front().toStdString();
}

} // namespace brimwell
