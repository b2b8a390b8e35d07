#include "hosts/qt/QtFileDialog.h"

#include <QFileDialog>
#include <QStringList>

namespace brimwell {
namespace {

// A pattern that matches names in any mix of cases ("*.bmp" -> "*.[bB][mM][pP]"), since a
// logo saved elsewhere may well be called "Pass.Bmp"; "*.*" means every file.
QString AnyCase(const QString& pattern) {
    if (pattern == QLatin1String("*.*") || pattern == QLatin1String("*")) {
        return QStringLiteral("*");
    }
    QString out;
    for (const QChar c : pattern) {
        const QChar lower = c.toLower();
        const QChar upper = c.toUpper();
        if (lower == upper) {
            out += c;
        } else {
            out += QLatin1Char('[') + lower + upper + QLatin1Char(']');
        }
    }
    return out;
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
            patterns << AnyCase(p.trimmed());
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
    // The descriptions already show the plain patterns; the any-case ones stay out of sight.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    if (!defaultExt.empty()) {
        dialog.setDefaultSuffix(QString::fromStdString(defaultExt));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().front().toStdString();
}

} // namespace brimwell
