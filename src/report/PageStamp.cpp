#include "report/PageStamp.h"

namespace vantrep::report {

QString pageFooterText(const QDate& date, int page) {
    return QString::fromLatin1(makerName) + QStringLiteral("|Vant|") + date.toString(QStringLiteral("dd-MM-yyyy")) +
           QStringLiteral("    Page :") + QString::number(page);
}

void installPageEvents(print::PrintSurface& surface, const TitleHolder& title1) {
    surface.header().font = print::PrintFont{QStringLiteral("Times New Roman"), 12, true};
    surface.setBeforeHeader([&surface, &title1] {
        surface.header().font = title1.font;
        surface.header().color = title1.color;
    });
    surface.setBeforeFooter([&surface] {
        print::PageText& footer = surface.footer();
        footer.text = pageFooterText(QDate::currentDate(), surface.page());
        footer.font = print::PrintFont{QStringLiteral("Times New Roman"), 9};
        footer.color = 16711680;
    });
}

}  // namespace vantrep::report
