#include "ui/WindowFonts.h"

#include <QStringList>

namespace {

void registerSubstitutions() {
    static const bool registered = [] {
        QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                                   {QStringLiteral("DejaVu Sans"),
                                    QStringLiteral("Liberation Sans"),
                                    QStringLiteral("sans-serif")});
        QFont::insertSubstitutions(QStringLiteral("Fixedsys"), {QStringLiteral("DejaVu Sans Mono"),
                                                                QStringLiteral("Liberation Mono"),
                                                                QStringLiteral("monospace")});
        return true;
    }();
    (void)registered;
}

} // namespace

QFont sansSerifFont(double pointSize, bool bold) {
    registerSubstitutions();
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    // The substitute families run wider than MS Sans Serif; a semi-condensed cut keeps
    // the captions inside the places the window was drawn for.
    font.setStretch(QFont::SemiCondensed);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

QFont monospaceFont(double pointSize) {
    registerSubstitutions();
    QFont font(QStringLiteral("Fixedsys"));
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setPointSizeF(pointSize);
    return font;
}
