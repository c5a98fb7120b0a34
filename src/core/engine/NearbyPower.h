#pragma once

#include <cmath>

namespace tepa::engine {

// x^n for a sequence of positive arguments that change little from one call to the next, as
// in the fixed-point iteration on the return temperature, which may need up to 1000 powers in
// a row. Near the last exactly computed argument x0 the power is continued by the binomial
// series x^n = x0^n · (1 + d)^n, d = x/x0 − 1, to the d^5 term; for |d| ≤ 1/256 the first
// omitted term is below 1e-15 relative, as accurate as std::pow, at a third of its cost.
// Further away (and for exponents whose series converges too slowly) std::pow is used and x
// becomes the new x0.
class NearbyPower
{
public:
    explicit NearbyPower(double n)
        : m_n(n)
    {
        double c = 1;
        for (int k = 1; k <= 6; ++k) {
            c *= (n - (k - 1)) / k; // binomial coefficient C(n, k)
            if (k <= 5)
                m_c[k] = c;
        }
        m_seriesUsable = std::abs(c) * std::pow(maxStep, 6) <= 1e-15;
    }

    double operator()(double x)
    {
        const double d = std::fma(x, m_inverseAnchor, -1.0);
        if (!m_seriesUsable || !(std::abs(d) <= maxStep)) {
            m_inverseAnchor = 1 / x;
            m_anchorPower = std::pow(x, m_n);
            return m_anchorPower;
        }
        // Estrin's scheme keeps the chain of dependent operations short.
        const double d2 = d * d;
        const double series =
            std::fma(d, m_c[1], 1.0) + d2 * (std::fma(d, m_c[3], m_c[2]) + d2 * std::fma(d, m_c[5], m_c[4]));
        return m_anchorPower * series;
    }

private:
    static constexpr double maxStep = 1.0 / 256;
    double m_n;
    double m_c[6] = {1, 0, 0, 0, 0, 0};
    bool m_seriesUsable = false;
    double m_inverseAnchor = 0; // 1/x0; 0 until the first call, which then computes exactly
    double m_anchorPower = 0;   // x0^n
};

} // namespace tepa::engine
