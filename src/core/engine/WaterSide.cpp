#include "core/engine/WaterSide.h"

#include "core/engine/NearbyPower.h"

#include <cmath>

namespace tepa::engine {

OutputResult Heizleistung(const Characteristic& c, const WaterPoint& p)
{
    OutputResult r;
    if (!allFinite({c.K, c.n, p.Tv, p.Tr, p.Ti})) {
        r.status = 1;
        return r;
    }
    // Without a temperature drop the water balance gives no mass flow.
    if (p.Tv - p.Tr <= zeroGuard) {
        r.status = 1;
        return r;
    }
    // Mean water temperature over room air. At or below zero the convector gives no heat and
    // the power law is undefined for a negative base, so the point ends here with status 1.
    const double dT = (p.Tv + p.Tr) / 2 - p.Ti;
    if (dT <= 0) {
        r.status = 1;
        return r;
    }
    const double Q = c.K * std::pow(dT, c.n);
    const double m = Q / ((p.Tv - p.Tr) * cw);
    if (!allFinite({Q, m})) {
        r.status = 1;
        return r;
    }
    r.outputW = Q;
    r.massFlowKgPerH = m;
    return r;
}

OutputResult Kuehlleistung(const Characteristic& c, const WaterPoint& p, double previousMassFlowKgPerH)
{
    OutputResult r;
    if (!allFinite({c.K, c.n, p.Tv, p.Tr, p.Ti, previousMassFlowKgPerH})) {
        r.status = 1;
        return r;
    }
    // The room must be warmer than the mean water temperature for the convector to cool; this
    // also keeps the power law on a positive base.
    const double dT = p.Ti - (p.Tv + p.Tr) / 2;
    if (dT <= zeroGuard) {
        r.status = 1;
        return r;
    }
    const double Q = c.K * std::pow(dT, c.n);
    if (!std::isfinite(Q)) {
        r.status = 1;
        return r;
    }
    r.outputW = Q;
    // A water temperature rise under 0.1 K gives no usable mass flow: the output stands, the
    // mass flow the caller had stays.
    if (std::abs(p.Tv - p.Tr) < 0.1) {
        r.massFlowKgPerH = previousMassFlowKgPerH;
        r.status = 1;
        return r;
    }
    const double m = std::abs(Q / ((p.Tv - p.Tr) * cw));
    // A mass flow beyond the largest number is no operating point.
    if (!std::isfinite(m)) {
        r.outputW = 0;
        r.status = 1;
        return r;
    }
    r.massFlowKgPerH = m;
    return r;
}

ReturnFromFlowResult Ruecklauf_aus_Massenstrom(const Characteristic& c, const MassFlowPoint& p)
{
    ReturnFromFlowResult r;
    if (!allFinite({c.K, c.n, p.Tv, p.Ti, p.massFlowKgPerH}) || p.massFlowKgPerH < zeroGuard) {
        r.status = 1;
        return r;
    }
    // Convergence is reached when one step moves the temperature drop by less than this.
    constexpr double tolerance = 0.01; // K
    // The iteration contracts only while n·x/2 stays below the mean excess temperature; at low
    // mass flows it swings instead. Within the admissible mass-flow window it needs a few dozen
    // steps; a case still moving after 1000 steps has no stable solution by this method and is
    // reported as no result.
    constexpr int maxSteps = 1000;

    const double perDegree = c.K / (cw * p.massFlowKgPerH);
    // The output falls as the drop grows, so the steps alternate around the solution; each side
    // keeps its own power sequence, whose arguments then change little from step to step.
    NearbyPower oddStep(c.n), evenStep(c.n);
    double x = 0;
    bool converged = false;
    while (r.iterations < maxSteps) {
        ++r.iterations;
        const double base = p.Tv - x / 2 - p.Ti;
        NearbyPower& power = r.iterations % 2 ? oddStep : evenStep;
        // A mean water temperature at or below the room transfers no heat.
        const double y = base > 0 ? perDegree * power(base) : 0.0;
        const double change = std::abs(y - x);
        x = y;
        if (!(change >= tolerance)) { // also ends on a NaN step, caught below
            converged = true;
            break;
        }
    }
    // A drop so large that the output exceeds the largest number is no result either.
    const double Q = cw * p.massFlowKgPerH * x;
    if (!converged || !std::isfinite(Q)) {
        r.returnTempC = p.Tv;
        r.outputW = 0;
        r.status = 1;
        return r;
    }
    r.returnTempC = p.Tv - x;
    r.outputW = Q;
    return r;
}

ReturnFromOutputResult Ruecklauf_aus_Leistung(const Characteristic& c, const OutputPoint& p)
{
    ReturnFromOutputResult r;
    if (!allFinite({c.K, c.n, p.Tv, p.Ti, p.outputW})) {
        r.status = 1;
        return r;
    }
    // No convector characteristic, or an output of the wrong sign: the law cannot be inverted
    // (a power of a negative base). The water then passes unchanged.
    if (c.K <= 0 || p.outputW / c.K < 0) {
        r.returnTempC = p.Tv;
        r.status = 1;
        return r;
    }
    const double dT = std::pow(p.outputW / c.K, 1 / c.n);
    const double Tr = 2 * (p.Ti + dT) - p.Tv;
    if (!std::isfinite(Tr)) { // n = 0: the law does not depend on ΔT and cannot be inverted
        r.returnTempC = p.Tv;
        r.status = 1;
        return r;
    }
    r.returnTempC = Tr;
    if (std::abs(p.Tv - Tr) < zeroGuard) {
        r.status = 1;
        return r;
    }
    const double m = p.outputW / ((p.Tv - Tr) * cw);
    if (!std::isfinite(m)) { // a drop just above the guard under a huge output
        r.status = 1;
        return r;
    }
    r.massFlowKgPerH = m;
    return r;
}

ReturnLimits Ruecklaufgrenzen(const Characteristic& c, const SupplyPoint& p)
{
    ReturnLimits r;
    if (!allFinite({c.K, c.n, p.Tv, p.Ti})) {
        r.status = 1;
        return r;
    }
    // Each search covers at most the span between room and flow temperature in 1 K steps;
    // heating water spans well under 1000 K, so hitting this cap means temperatures that are no
    // heating case (or so large that a 1 K step is lost in rounding): no admissible window.
    constexpr int maxSteps = 1000;
    bool conflict = false;
    bool noWindow = false;

    // Lower end: the lowest whole-kelvin return temperature from Ti + 15 up that carries at
    // least the minimum mass flow. The mass flow grows without bound as Tr approaches Tv, so
    // the search only fails for a convector without output; it stops at Tv.
    double Tr = p.Ti + 15;
    OutputResult at = Heizleistung(c, {p.Tv, Tr, p.Ti});
    for (int step = 0; at.massFlowKgPerH < minimumMassFlowKgPerH; ++step) {
        Tr += 1;
        if (Tr >= p.Tv || step == maxSteps) {
            Tr = p.Tv;
            at = Heizleistung(c, {p.Tv, Tr, p.Ti});
            noWindow = true;
            break;
        }
        at = Heizleistung(c, {p.Tv, Tr, p.Ti});
        if (at.massFlowKgPerH >= maximumMassFlowKgPerH)
            conflict = true; // one step jumped from below 5 to at least 750 kg/h
    }
    r.returnTempStart = Tr;
    r.massFlowStart = at.massFlowKgPerH;
    r.outputStart = at.outputW;

    // Upper end: the highest whole-kelvin return temperature from Tv − 1 down that keeps the
    // mass flow at most 750 kg/h. Lowering Tr lowers the mass flow; the search stops at Ti.
    Tr = p.Tv - 1;
    at = Heizleistung(c, {p.Tv, Tr, p.Ti});
    for (int step = 0; at.massFlowKgPerH > maximumMassFlowKgPerH; ++step) {
        Tr -= 1;
        if (Tr <= p.Ti || step == maxSteps) {
            Tr = p.Ti;
            at = Heizleistung(c, {p.Tv, Tr, p.Ti});
            noWindow = true;
            break;
        }
        at = Heizleistung(c, {p.Tv, Tr, p.Ti});
        if (at.massFlowKgPerH <= minimumMassFlowKgPerH)
            conflict = true; // one step jumped from above 750 to at most 5 kg/h
    }
    r.returnTempEnd = Tr;
    r.massFlowEnd = at.massFlowKgPerH;
    r.outputEnd = at.outputW;

    r.status = (conflict || noWindow) ? 1 : 0;
    return r;
}

} // namespace tepa::engine
