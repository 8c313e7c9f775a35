#pragma once

#include <optional>

#include <QList>
#include <QLocale>

// The language to speak in, among those the speech engine has voices for: the operator's
// own (territory and all, else the language alone), else English, else whatever the engine
// offers first. A locale such as C.UTF-8 names no language: without this the engine would
// have no voice and the spoken alarm would be unavailable on a system that can speak.
// Nothing when the engine offers no language at all.
std::optional<QLocale> speechLocale(const QLocale& wanted, const QList<QLocale>& offered);
