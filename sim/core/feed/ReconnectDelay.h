#pragma once

namespace feed {

// The wait before the next connection attempt: it doubles after every failure (1, 2, 4 ...
// seconds) up to a ceiling, so that a server that is down is not hammered, and starts
// again from the beginning once a connection has proved good.
class ReconnectDelay final {
public:
    ReconnectDelay(int firstMs = 1000, int maxMs = 60000) : m_first(firstMs), m_max(maxMs) {
        reset();
    }

    // The delay to wait now; the following call returns the doubled delay.
    int next() {
        const int now = m_current;
        m_current = now >= m_max / 2 ? m_max : now * 2;
        return now;
    }
    void reset() { m_current = m_first < m_max ? m_first : m_max; }

private:
    int m_first;
    int m_max;
    int m_current = 0;
};

} // namespace feed
