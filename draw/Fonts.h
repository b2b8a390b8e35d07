#pragma once
#include <QFont>
#include <QString>
#include <QStringList>

namespace brimwell {

// The Windows sans-serif faces that the resources name ("MS Shell Dlg", "Microsoft Sans
// Serif"), mapped onto this system: Liberation Sans (or Arimo) has Arial's metrics, which keeps
// text measuring close to what the layouts were made with.
inline QStringList SansSerifFamilies() {
    return {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"), QStringLiteral("Arial"),
            QStringLiteral("Sans Serif")};
}

// The families that stand for a Windows face: "Arial" itself first (fontconfig resolves it to
// Liberation Sans where Arial is not installed), every other face as the sans-serif faces.
inline QStringList FamiliesForWindowsFace(const QString& face) {
    if (face.compare(QLatin1String("Arial"), Qt::CaseInsensitive) == 0) {
        return {QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                QStringLiteral("Sans Serif")};
    }
    return SansSerifFamilies();
}

} // namespace brimwell
