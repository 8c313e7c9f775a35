#include "alerts/SpeechLocale.h"

#include <functional>

namespace {

std::optional<QLocale> firstWhere(const QList<QLocale>& offered,
                                  const std::function<bool(const QLocale&)>& fits) {
    for (const QLocale& locale : offered) {
        if (fits(locale))
            return locale;
    }
    return std::nullopt;
}

} // namespace

std::optional<QLocale> speechLocale(const QLocale& wanted, const QList<QLocale>& offered) {
    if (offered.isEmpty())
        return std::nullopt;
    const auto same = [&wanted](const QLocale& l) {
        return l.language() == wanted.language() && l.territory() == wanted.territory();
    };
    const auto sameLanguage = [&wanted](const QLocale& l) {
        return l.language() == wanted.language();
    };
    const auto english = [](const QLocale& l) { return l.language() == QLocale::English; };
    for (const auto& fits : {std::function<bool(const QLocale&)>(same),
                             std::function<bool(const QLocale&)>(sameLanguage),
                             std::function<bool(const QLocale&)>(english)}) {
        if (const auto found = firstWhere(offered, fits))
            return found;
    }
    return offered.first();
}
