#include "reportfont.h"

#include "reporterror.h"

#include <QFontDatabase>
#include <QStringList>

namespace tarvel::report {

QString reportFontFamily() {
    // Loaded once per process; the database keeps the font for the application's lifetime.
    static const QString family = [] {
        const int id = QFontDatabase::addApplicationFont(QString::fromUtf8(reportFontPath));
        const QStringList families =
            id < 0 ? QStringList{} : QFontDatabase::applicationFontFamilies(id);
        if (families.isEmpty()) return QString{};
        // The collection holds Zen Hei and its monospaced twin; the report uses the former.
        for (const QString& f : families)
            if (!f.contains(QLatin1String("Mono"), Qt::CaseInsensitive) &&
                !f.contains(QLatin1String("Sharp"), Qt::CaseInsensitive))
                return f;
        return families.first();
    }();
    if (family.isEmpty()) {
        throw ReportError(QStringLiteral("无法加载计算书字体 %1（请安装 fonts-wqy-zenhei）")
                              .arg(QString::fromUtf8(reportFontPath)));
    }
    return family;
}

QFont reportFont(qreal pointSize, bool bold) {
    QFont font(reportFontFamily());
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferOutline);
    return font;
}

} // namespace tarvel::report
