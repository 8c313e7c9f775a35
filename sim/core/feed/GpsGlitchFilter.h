#pragma once

#include <optional>

#include <QtGlobal>

// A receiver that loses its lock may report one wild position (a jump across a continent)
// before it settles. A fix more than JumpKm from the one taken last, less than a minute after
// it, is held back until a second fix near it confirms it.
class GpsGlitchFilter final {
public:
    static constexpr double JumpKm = 500.0;
    static constexpr qint64 WindowMs = 60000;

    // Whether the fix at `nowMs` (any clock that only moves forward) is taken.
    bool take(double latitude, double longitude, qint64 nowMs);

private:
    struct Fix {
        double latitude;
        double longitude;
        qint64 ms;
    };
    std::optional<Fix> m_taken;
    std::optional<Fix> m_held;
};
