#include "analysis/harmonic_analysis.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>

#include "data/data_set.h"

namespace corvan {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kDeg = kPi / 180.0;
// Two-sided 95 % of a normal distribution.
constexpr double kZ95 = 1.96;
// Half-width of the band around each species (cycles per day) whose
// residual energy stands for the noise under the constituents there.
constexpr double kBandHalfWidthCpd = 0.2;

constexpr const char* kNoValidRecords = "The range holds no valid records.";
constexpr const char* kNoInterval = "The series has no measurement interval.";
constexpr const char* kTooFewRecords = "Too few valid records for the constituents chosen.";
constexpr const char* kSingular = "The constituents cannot be separated by the valid records.";

double Wrap360(double x) {
    x = std::fmod(x, 360.0);
    return x < 0 ? x + 360.0 : x;
}

// Difference of two angles that are only known modulo `period`.
double AngleDifference(double a, double b, double period) {
    double d = std::fmod(a - b, period);
    if (d > period / 2) d -= period;
    if (d < -period / 2) d += period;
    return d;
}

// cos and sin of every frequency at successive samples, by rotation rather
// than a trigonometric call per sample and frequency. The rotation is
// restarted from exact values now and then so rounding cannot pile up.
class Oscillators {
public:
    Oscillators(const std::vector<double>& radiansPerSample, double centreIndex)
        : omega_(radiansPerSample),
          centre_(centreIndex),
          c_(omega_.size()),
          s_(omega_.size()),
          stepC_(omega_.size()),
          stepS_(omega_.size()) {
        for (std::size_t k = 0; k < omega_.size(); ++k) {
            stepC_[k] = std::cos(omega_[k]);
            stepS_[k] = std::sin(omega_[k]);
        }
        Seed(0);
    }
    // Moves to sample n; forward moves rotate through the samples skipped.
    void At(long n) {
        if (n < next_ - 1) Seed(n);
        while (next_ <= n) {
            if (next_ % kReseed == 0) {
                Seed(next_);
                continue;
            }
            for (std::size_t k = 0; k < omega_.size(); ++k) {
                const double c = c_[k] * stepC_[k] - s_[k] * stepS_[k];
                s_[k] = s_[k] * stepC_[k] + c_[k] * stepS_[k];
                c_[k] = c;
            }
            ++next_;
        }
    }
    // Row of the design matrix: 1, cos, sin, cos, sin ...
    void Row(double* x) const {
        x[0] = 1.0;
        for (std::size_t k = 0; k < omega_.size(); ++k) {
            x[1 + 2 * k] = c_[k];
            x[2 + 2 * k] = s_[k];
        }
    }

private:
    static constexpr long kReseed = 2048;
    void Seed(long n) {
        for (std::size_t k = 0; k < omega_.size(); ++k) {
            const double angle = omega_[k] * (static_cast<double>(n) - centre_);
            c_[k] = std::cos(angle);
            s_[k] = std::sin(angle);
        }
        next_ = n + 1;
    }
    std::vector<double> omega_;
    double centre_;
    std::vector<double> c_, s_, stepC_, stepS_;
    long next_ = 1;
};

// X'X gathered a block of rows at a time, so the inner products run over
// contiguous memory.
class NormalMatrix {
public:
    explicit NormalMatrix(int p)
        : p_(p), block_(static_cast<std::size_t>(p) * kBlock, 0.0), m_(static_cast<std::size_t>(p) * p, 0.0) {}
    void Add(const double* x) {
        for (int i = 0; i < p_; ++i) block_[static_cast<std::size_t>(i) * kBlock + rows_] = x[i];
        if (++rows_ == kBlock) Flush();
    }
    void Flush() {
        if (rows_ == 0) return;
        for (int i = 0; i < p_; ++i)
            for (std::size_t r = rows_; r < kBlock; ++r) block_[static_cast<std::size_t>(i) * kBlock + r] = 0.0;
        for (int i = 0; i < p_; ++i) {
            const double* xi = &block_[static_cast<std::size_t>(i) * kBlock];
            for (int j = i; j < p_; ++j) {
                const double* xj = &block_[static_cast<std::size_t>(j) * kBlock];
                double sum = 0;
                for (std::size_t r = 0; r < kBlock; ++r) sum += xi[r] * xj[r];
                m_[static_cast<std::size_t>(i) * p_ + j] += sum;
            }
        }
        rows_ = 0;
    }
    // Upper triangle, row-major.
    std::vector<double>& Values() { return m_; }

private:
    static constexpr std::size_t kBlock = 32;
    int p_;
    std::vector<double> block_;
    std::vector<double> m_;
    std::size_t rows_ = 0;
};

// X'X over every sample n = 0 .. count - 1 of the grid (rows 1, cos, sin
// of each frequency at n - centre), from the sums of e^(i w (n - centre)),
// which are Dirichlet kernels; upper triangle, row-major.
std::vector<double> FullGridNormalMatrix(const std::vector<double>& omega, double centre, long count) {
    const double n = static_cast<double>(count);
    auto sum = [&](double w) {
        const double half = std::sin(w / 2);
        const double magnitude = std::abs(half) < 1e-12 ? n : std::sin(n * w / 2) / half;
        return std::polar(magnitude, w * ((n - 1) / 2 - centre));
    };
    const std::size_t k = omega.size();
    const std::size_t p = 1 + 2 * k;
    std::vector<double> m(p * p, 0.0);
    auto at = [&](std::size_t i, std::size_t j) -> double& { return m[i * p + j]; };
    at(0, 0) = n;
    for (std::size_t a = 0; a < k; ++a) {
        const std::complex<double> single = sum(omega[a]);
        at(0, 1 + 2 * a) = single.real();
        at(0, 2 + 2 * a) = single.imag();
        for (std::size_t b = a; b < k; ++b) {
            const std::complex<double> difference = sum(omega[a] - omega[b]);
            const std::complex<double> total = sum(omega[a] + omega[b]);
            at(1 + 2 * a, 1 + 2 * b) = (difference.real() + total.real()) / 2;             // cos a cos b
            at(2 + 2 * a, 2 + 2 * b) = (difference.real() - total.real()) / 2;             // sin a sin b
            at(1 + 2 * a, 2 + 2 * b) = (total.imag() - difference.imag()) / 2;             // cos a sin b
            if (b > a) at(2 + 2 * a, 1 + 2 * b) = (total.imag() + difference.imag()) / 2;  // sin a cos b
        }
    }
    return m;
}

// Solves M b = r for each right-hand side in place (M symmetric positive
// definite, upper triangle given). False when M is not.
bool CholeskySolve(std::vector<double> m, int p, std::vector<std::vector<double>*> rhs) {
    auto at = [&](int i, int j) -> double& { return m[static_cast<std::size_t>(i) * p + j]; };
    // Upper triangle holds U with M = U'U.
    for (int i = 0; i < p; ++i) {
        double d = at(i, i);
        for (int k = 0; k < i; ++k) d -= at(k, i) * at(k, i);
        if (!(d > 1e-12 * std::max(1.0, std::abs(at(i, i))))) return false;
        d = std::sqrt(d);
        at(i, i) = d;
        for (int j = i + 1; j < p; ++j) {
            double v = at(i, j);
            for (int k = 0; k < i; ++k) v -= at(k, i) * at(k, j);
            at(i, j) = v / d;
        }
    }
    for (std::vector<double>* b : rhs) {
        std::vector<double>& y = *b;
        for (int i = 0; i < p; ++i) {
            double v = y[i];
            for (int k = 0; k < i; ++k) v -= at(k, i) * y[k];
            y[i] = v / at(i, i);
        }
        for (int i = p - 1; i >= 0; --i) {
            double v = y[i];
            for (int k = i + 1; k < p; ++k) v -= at(i, k) * y[k];
            y[i] = v / at(i, i);
        }
    }
    return true;
}

void Fft(std::vector<std::complex<double>>& a) {
    const std::size_t n = a.size();
    for (std::size_t i = 1, j = 0; i < n; ++i) {
        std::size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        j ^= bit;
        if (i < j) std::swap(a[i], a[j]);
    }
    for (std::size_t len = 2; len <= n; len <<= 1) {
        const double angle = -2 * kPi / static_cast<double>(len);
        const std::complex<double> w(std::cos(angle), std::sin(angle));
        for (std::size_t i = 0; i < n; i += len) {
            std::complex<double> wk(1.0, 0.0);
            for (std::size_t k = 0; k < len / 2; ++k) {
                const std::complex<double> u = a[i + k];
                const std::complex<double> v = a[i + k + len / 2] * wk;
                a[i + k] = u + v;
                a[i + k + len / 2] = u - v;
                wk *= w;
            }
        }
    }
}

// One-sided power spectral density of a residual (zeros at the gaps),
// averaged over a band of each species; in units^2 per cycle per hour.
class ResidualSpectrum {
public:
    ResidualSpectrum(const std::vector<double>& residual, int validCount, double intervalHours) {
        std::size_t n = 1;
        while (n < residual.size()) n <<= 1;
        std::vector<std::complex<double>> a(n);
        for (std::size_t i = 0; i < residual.size(); ++i) a[i] = residual[i];
        Fft(a);
        power_.resize(n / 2 + 1);
        const double scale = 2.0 * intervalHours / std::max(1, validCount);
        for (std::size_t j = 0; j < power_.size(); ++j) power_[j] = scale * std::norm(a[j]);
        resolution_ = 1.0 / (static_cast<double>(n) * intervalHours);
    }
    double Band(double frequencyCph) const {
        const double cpd = frequencyCph * 24.0;
        const double species = std::round(cpd);
        double low = (species - kBandHalfWidthCpd) / 24.0;
        double high = (species + kBandHalfWidthCpd) / 24.0;
        std::size_t first = static_cast<std::size_t>(std::max(1.0, std::ceil(low / resolution_)));
        std::size_t last = static_cast<std::size_t>(std::max(0.0, std::floor(high / resolution_)));
        last = std::min(last, power_.size() - 1);
        if (first > last) {
            // A band narrower than the spectrum's resolution: the nearest line.
            const auto j = std::min(power_.size() - 1,
                                    static_cast<std::size_t>(std::max(1.0, std::round(frequencyCph / resolution_))));
            return power_[j];
        }
        double sum = 0;
        for (std::size_t j = first; j <= last; ++j) sum += power_[j];
        return sum / static_cast<double>(last - first + 1);
    }

private:
    double resolution_ = 1;
    std::vector<double> power_;
};

struct Component {
    double amplitude = 0, phase = 0;
};

// Cosine and sine coefficients at the centre time to Greenwich amplitude
// and phase: x(t) = f A cos(V0 + u + w t - g) = a cos(w t) + b sin(w t).
Component Greenwich(double a, double b, double f, double argumentDegrees) {
    const std::complex<double> z(a, -b);
    return {std::abs(z) / f, Wrap360(argumentDegrees - std::arg(z) / kDeg)};
}

struct FittedConstituent {
    const TidalConstituent* c;
    double frequency;
    double f;
    double argument;  // V(mid) + u, degrees
};

}  // namespace

Ellipse EllipseFromComponents(double eastAmplitude, double eastPhase, double northAmplitude, double northPhase) {
    // The current as two vectors turning in opposite senses; the axes are
    // their sum and difference, the inclination where they line up.
    const std::complex<double> i(0, 1);
    const std::complex<double> u = std::polar(eastAmplitude, -eastPhase * kDeg);
    const std::complex<double> v = std::polar(northAmplitude, -northPhase * kDeg);
    const std::complex<double> plus = (u + i * v) / 2.0;
    const std::complex<double> minus = (std::conj(u) + i * std::conj(v)) / 2.0;
    const double ap = std::abs(plus);
    const double am = std::abs(minus);
    const double ep = ap > 0 ? std::arg(plus) : 0.0;
    const double em = am > 0 ? std::arg(minus) : 0.0;
    double inclination = (ep + em) / 2 / kDeg;
    double phase = (em - ep) / 2 / kDeg;
    // The axis is a line: turning it by half a turn shifts the phase by as
    // much.
    while (inclination < 0) {
        inclination += 180;
        phase += 180;
    }
    while (inclination >= 180) {
        inclination -= 180;
        phase -= 180;
    }
    Ellipse e;
    e.major = ap + am;
    e.minor = ap - am;
    e.inclination = inclination;
    e.phase = Wrap360(phase);
    return e;
}

TidalInput TidalInputFromRange(const DataSet& data) {
    TidalInput in;
    const int first = std::max(0, data.rangeFirst);
    const int last = std::min(data.rangeLast, std::min(data.HeaderCount(), data.recordCount) - 1);
    const int s = data.currentSeries;
    in.firstTime = RecordTime(data, first, s);
    in.intervalSeconds = s >= 1 && s <= data.SeriesCount() ? data.series[static_cast<std::size_t>(s - 1)].interval : 0;
    const bool current = HasCurrent(data.header);
    const bool temperature = HasTemperature(data.header);
    const double nan = std::nan("");
    for (int k = first; k <= last; ++k) {
        const MeasurementRecord& r = data.records[static_cast<std::size_t>(k)];
        if (current && IsValid(r.speed) && r.direction >= 0) {
            in.east.push_back(r.speed * std::sin(static_cast<double>(r.direction)));
            in.north.push_back(r.speed * std::cos(static_cast<double>(r.direction)));
        } else {
            in.east.push_back(nan);
            in.north.push_back(nan);
        }
        if (temperature) in.temperature.push_back(IsValid(r.temperature) ? r.temperature : nan);
    }
    return in;
}

TidalAnalysis AnalyseTide(const TidalInput& input, const TidalOptions& options) {
    TidalAnalysis result;
    result.latitude = options.latitude;
    const long n = static_cast<long>(std::min(input.east.size(), input.north.size()));
    const bool withTemperature = static_cast<long>(input.temperature.size()) >= n && n > 0;
    auto currentValid = [&](long k) {
        return std::isfinite(input.east[static_cast<std::size_t>(k)]) &&
               std::isfinite(input.north[static_cast<std::size_t>(k)]);
    };
    auto temperatureValid = [&](long k) {
        return withTemperature && std::isfinite(input.temperature[static_cast<std::size_t>(k)]);
    };
    long firstC = -1, lastC = -1, firstT = -1, lastT = -1;
    int countC = 0, countT = 0;
    for (long k = 0; k < n; ++k) {
        if (currentValid(k)) {
            if (firstC < 0) firstC = k;
            lastC = k;
            ++countC;
        }
        if (temperatureValid(k)) {
            if (firstT < 0) firstT = k;
            lastT = k;
            ++countT;
        }
    }
    result.hasCurrent = countC > 0;
    result.hasTemperature = countT > 0;
    result.validCount = countC;
    result.temperatureValidCount = countT;
    if (!(input.intervalSeconds > 0)) {
        result.error = kNoInterval;
        return result;
    }
    if (countC == 0 && countT == 0) {
        result.error = kNoValidRecords;
        return result;
    }
    const double dtHours = input.intervalSeconds / 3600.0;
    const long spanFirst = result.hasCurrent ? firstC : firstT;
    const long spanLast = result.hasCurrent ? lastC : lastT;
    const double spanHours = static_cast<double>(spanLast - spanFirst) * dtHours;
    result.recordDays = spanHours / 24.0;

    // Arguments and nodal corrections belong to the middle of the record,
    // kept on a whole second so the time and the sample index agree.
    const auto midOffset = std::llround(static_cast<double>(spanFirst + spanLast) / 2.0 * input.intervalSeconds);
    result.midTime = input.firstTime.AddSeconds(midOffset);
    const double centre = static_cast<double>(midOffset) / input.intervalSeconds;
    const Astronomy astronomy = AstronomyAt(result.midTime);

    std::vector<const TidalConstituent*> candidates = options.constituents;
    if (candidates.empty())
        for (const TidalConstituent& c : StandardConstituents()) candidates.push_back(&c);
    const auto chosen = SelectByRayleigh(candidates, spanHours, options.rayleighFactor, &result.leftOut);

    std::vector<FittedConstituent> fitted;
    std::vector<double> omega;
    for (const TidalConstituent* c : chosen) {
        const NodalCorrection nodal = NodalCorrectionOf(*c, astronomy, options.latitude);
        const double frequency = ConstituentFrequency(*c);
        fitted.push_back({c, frequency, nodal.f, AstronomicalArgument(*c, astronomy) + nodal.u});
        omega.push_back(2 * kPi * frequency * dtHours);
    }
    const int K = static_cast<int>(fitted.size());
    const int p = 1 + 2 * K;
    if ((result.hasCurrent && countC <= p) || (!result.hasCurrent && countT <= p)) {
        result.error = kTooFewRecords;
        return result;
    }

    // X'X of a regular grid without gaps has a closed form; most records
    // are valid, so the matrix is that less the few rows that are not.
    // When most are missing, the valid rows are summed instead.
    const bool subtractCurrent = 2L * countC >= n;
    const bool subtractTemperature = 2L * countT >= n;
    NormalMatrix directCurrent(p), directTemperature(p), gapsCurrent(p), gapsTemperature(p);
    std::vector<double> rhsEast(p, 0.0), rhsNorth(p, 0.0), rhsTemperature(p, 0.0);
    std::vector<double> x(static_cast<std::size_t>(p));
    {
        Oscillators osc(omega, centre);
        for (long k = 0; k < n; ++k) {
            const bool c = currentValid(k);
            const bool t = temperatureValid(k);
            const bool needC = result.hasCurrent && (c || subtractCurrent);
            const bool needT = result.hasTemperature && (t || subtractTemperature);
            if (!needC && !needT) continue;
            osc.At(k);
            osc.Row(x.data());
            if (result.hasCurrent) {
                if (c) {
                    const double e = input.east[static_cast<std::size_t>(k)];
                    const double no = input.north[static_cast<std::size_t>(k)];
                    for (int i = 0; i < p; ++i) {
                        rhsEast[static_cast<std::size_t>(i)] += x[static_cast<std::size_t>(i)] * e;
                        rhsNorth[static_cast<std::size_t>(i)] += x[static_cast<std::size_t>(i)] * no;
                    }
                    if (!subtractCurrent) directCurrent.Add(x.data());
                } else if (subtractCurrent) {
                    gapsCurrent.Add(x.data());
                }
            }
            if (result.hasTemperature) {
                if (t) {
                    const double tv = input.temperature[static_cast<std::size_t>(k)];
                    for (int i = 0; i < p; ++i)
                        rhsTemperature[static_cast<std::size_t>(i)] += x[static_cast<std::size_t>(i)] * tv;
                    if (!subtractTemperature) directTemperature.Add(x.data());
                } else if (subtractTemperature) {
                    gapsTemperature.Add(x.data());
                }
            }
        }
    }
    std::vector<double> full;
    if (subtractCurrent || subtractTemperature) full = FullGridNormalMatrix(omega, centre, n);
    auto normal = [&](bool subtract, NormalMatrix& direct, NormalMatrix& gaps) {
        if (!subtract) {
            direct.Flush();
            return direct.Values();
        }
        gaps.Flush();
        std::vector<double> m = full;
        for (std::size_t i = 0; i < m.size(); ++i) m[i] -= gaps.Values()[i];
        return m;
    };

    if (result.hasCurrent) {
        if (!CholeskySolve(normal(subtractCurrent, directCurrent, gapsCurrent), p, {&rhsEast, &rhsNorth})) {
            result.error = kSingular;
            return result;
        }
    }
    bool temperatureFitted = false;
    if (result.hasTemperature && countT > p) {
        temperatureFitted =
            CholeskySolve(normal(subtractTemperature, directTemperature, gapsTemperature), p, {&rhsTemperature});
    }
    result.hasTemperature = temperatureFitted;

    // Residuals on the regular grid (zero where invalid) for the spectrum
    // and the variance explained.
    std::vector<double> resE, resN, resT;
    double sumE = 0, sumN = 0, sumT = 0;
    double totalC = 0, residualC = 0, totalT = 0, residualT = 0;
    if (result.hasCurrent) {
        resE.assign(static_cast<std::size_t>(n), 0.0);
        resN.assign(static_cast<std::size_t>(n), 0.0);
    }
    if (temperatureFitted) resT.assign(static_cast<std::size_t>(n), 0.0);
    {
        Oscillators osc(omega, centre);
        for (long k = 0; k < n; ++k) {
            const bool c = result.hasCurrent && currentValid(k);
            const bool t = temperatureFitted && temperatureValid(k);
            if (!c && !t) continue;
            osc.At(k);
            osc.Row(x.data());
            const auto uk = static_cast<std::size_t>(k);
            if (c) {
                double fe = 0, fn = 0;
                for (int i = 0; i < p; ++i) {
                    fe += x[static_cast<std::size_t>(i)] * rhsEast[static_cast<std::size_t>(i)];
                    fn += x[static_cast<std::size_t>(i)] * rhsNorth[static_cast<std::size_t>(i)];
                }
                resE[uk] = input.east[uk] - fe;
                resN[uk] = input.north[uk] - fn;
                sumE += input.east[uk];
                sumN += input.north[uk];
            }
            if (t) {
                double ft = 0;
                for (int i = 0; i < p; ++i)
                    ft += x[static_cast<std::size_t>(i)] * rhsTemperature[static_cast<std::size_t>(i)];
                resT[uk] = input.temperature[uk] - ft;
                sumT += input.temperature[uk];
            }
        }
    }
    if (result.hasCurrent) {
        const double me = sumE / countC, mn = sumN / countC;
        for (long k = 0; k < n; ++k) {
            if (!currentValid(k)) continue;
            const auto uk = static_cast<std::size_t>(k);
            totalC += std::pow(input.east[uk] - me, 2) + std::pow(input.north[uk] - mn, 2);
            residualC += resE[uk] * resE[uk] + resN[uk] * resN[uk];
        }
        result.varianceExplained = totalC > 0 ? std::clamp(1.0 - residualC / totalC, 0.0, 1.0) : 0.0;
        result.meanEast = rhsEast[0];
        result.meanNorth = rhsNorth[0];
    }
    if (temperatureFitted) {
        const double mt = sumT / countT;
        for (long k = 0; k < n; ++k) {
            if (!temperatureValid(k)) continue;
            const auto uk = static_cast<std::size_t>(k);
            totalT += std::pow(input.temperature[uk] - mt, 2);
            residualT += resT[uk] * resT[uk];
        }
        result.temperatureVarianceExplained = totalT > 0 ? std::clamp(1.0 - residualT / totalT, 0.0, 1.0) : 0.0;
        result.meanTemperature = rhsTemperature[0];
    }

    // Noise under each constituent from the residual's energy near it: the
    // cosine and sine coefficients each vary by S / (N dt).
    if (result.hasCurrent) {
        const ResidualSpectrum spectrumE(resE, countC, dtHours);
        const ResidualSpectrum spectrumN(resN, countC, dtHours);
        const double length = countC * dtHours;
        for (int k = 0; k < K; ++k) {
            const FittedConstituent& fc = fitted[static_cast<std::size_t>(k)];
            const std::array<double, 4> coef = {rhsEast[1 + 2 * k], rhsEast[2 + 2 * k], rhsNorth[1 + 2 * k],
                                                rhsNorth[2 + 2 * k]};
            const double varE = spectrumE.Band(fc.frequency) / length;
            const double varN = spectrumN.Band(fc.frequency) / length;
            const std::array<double, 4> variance = {varE, varE, varN, varN};
            auto ellipseOf = [&](const std::array<double, 4>& c) {
                const Component e = Greenwich(c[0], c[1], fc.f, fc.argument);
                const Component no = Greenwich(c[2], c[3], fc.f, fc.argument);
                return EllipseFromComponents(e.amplitude, e.phase, no.amplitude, no.phase);
            };
            CurrentConstituent out;
            out.constituent = fc.c;
            out.frequency = fc.frequency;
            const Component e = Greenwich(coef[0], coef[1], fc.f, fc.argument);
            const Component no = Greenwich(coef[2], coef[3], fc.f, fc.argument);
            out.eastAmplitude = e.amplitude;
            out.eastPhase = e.phase;
            out.northAmplitude = no.amplitude;
            out.northPhase = no.phase;
            const Ellipse el = EllipseFromComponents(e.amplitude, e.phase, no.amplitude, no.phase);
            out.major = el.major;
            out.minor = el.minor;
            out.inclination = el.inclination;
            out.phase = el.phase;
            // Linearised propagation of the coefficient variances.
            double scale = 0;
            for (double c : coef) scale = std::max(scale, std::abs(c));
            const double h = std::max(1e-9, 1e-5 * scale);
            std::array<double, 4> var{};
            for (std::size_t i = 0; i < 4; ++i) {
                auto up = coef, down = coef;
                up[i] += h;
                down[i] -= h;
                const Ellipse a = ellipseOf(up), b = ellipseOf(down);
                const std::array<double, 4> d = {(a.major - b.major) / (2 * h), (a.minor - b.minor) / (2 * h),
                                                 AngleDifference(a.inclination, b.inclination, 180) / (2 * h),
                                                 AngleDifference(a.phase, b.phase, 180) / (2 * h)};
                for (std::size_t j = 0; j < 4; ++j) var[j] += d[j] * d[j] * variance[i];
            }
            out.majorCi = kZ95 * std::sqrt(var[0]);
            out.minorCi = kZ95 * std::sqrt(var[1]);
            out.inclinationCi = std::min(90.0, kZ95 * std::sqrt(var[2]));
            out.phaseCi = std::min(180.0, kZ95 * std::sqrt(var[3]));
            out.snr = out.majorCi > 0 ? std::pow(out.major / out.majorCi, 2) : 0.0;
            result.constituents.push_back(out);
        }
    }
    if (temperatureFitted) {
        const ResidualSpectrum spectrum(resT, countT, dtHours);
        const double length = countT * dtHours;
        for (int k = 0; k < K; ++k) {
            const FittedConstituent& fc = fitted[static_cast<std::size_t>(k)];
            const Component c = Greenwich(rhsTemperature[1 + 2 * k], rhsTemperature[2 + 2 * k], fc.f, fc.argument);
            const double sigma = std::sqrt(spectrum.Band(fc.frequency) / length) / fc.f;
            ScalarConstituent out;
            out.constituent = fc.c;
            out.frequency = fc.frequency;
            out.amplitude = c.amplitude;
            out.phase = c.phase;
            out.amplitudeCi = kZ95 * sigma;
            out.phaseCi = c.amplitude > 0 ? std::min(180.0, kZ95 * sigma / c.amplitude / kDeg) : 180.0;
            out.snr = out.amplitudeCi > 0 ? std::pow(out.amplitude / out.amplitudeCi, 2) : 0.0;
            result.temperature.push_back(out);
        }
    }
    return result;
}

namespace {

// One stretch of a prediction, with the nodal corrections of its middle.
void PredictStretch(const TidalAnalysis& analysis, const std::vector<const TidalConstituent*>& list, DateTime start,
                    double intervalSeconds, int count, TidalPrediction& out, std::size_t offset) {
    const auto midOffset = std::llround((count - 1) / 2.0 * intervalSeconds);
    const double centre = intervalSeconds > 0 ? static_cast<double>(midOffset) / intervalSeconds : 0.0;
    const Astronomy astronomy = AstronomyAt(start.AddSeconds(midOffset));
    const double dtHours = intervalSeconds / 3600.0;

    // Each constituent as cosine and sine coefficients about the middle.
    auto coefficients = [&](const TidalConstituent* c, double amplitude, double phase, double& a, double& b) {
        const NodalCorrection nodal = NodalCorrectionOf(*c, astronomy, analysis.latitude);
        const double angle = (AstronomicalArgument(*c, astronomy) + nodal.u - phase) * kDeg;
        a = nodal.f * amplitude * std::cos(angle);
        b = -nodal.f * amplitude * std::sin(angle);
    };
    std::vector<double> omega;
    std::vector<double> ae, be, an, bn, at, bt;
    for (std::size_t k = 0; k < list.size(); ++k) {
        omega.push_back(2 * kPi * ConstituentFrequency(*list[k]) * dtHours);
        double a = 0, b = 0;
        if (k < analysis.constituents.size()) {
            const CurrentConstituent& c = analysis.constituents[k];
            coefficients(c.constituent, c.eastAmplitude, c.eastPhase, a, b);
            ae.push_back(a);
            be.push_back(b);
            coefficients(c.constituent, c.northAmplitude, c.northPhase, a, b);
            an.push_back(a);
            bn.push_back(b);
        } else {
            ae.push_back(0);
            be.push_back(0);
            an.push_back(0);
            bn.push_back(0);
        }
        a = b = 0;
        if (k < analysis.temperature.size())
            coefficients(list[k], analysis.temperature[k].amplitude, analysis.temperature[k].phase, a, b);
        at.push_back(a);
        bt.push_back(b);
    }
    const int p = 1 + 2 * static_cast<int>(list.size());
    std::vector<double> x(static_cast<std::size_t>(p));
    Oscillators osc(omega, centre);
    for (int k = 0; k < count; ++k) {
        osc.At(k);
        osc.Row(x.data());
        double e = analysis.meanEast, no = analysis.meanNorth, t = analysis.meanTemperature;
        for (std::size_t j = 0; j < list.size(); ++j) {
            const double c = x[1 + 2 * j], s = x[2 + 2 * j];
            e += ae[j] * c + be[j] * s;
            no += an[j] * c + bn[j] * s;
            t += at[j] * c + bt[j] * s;
        }
        out.east[offset + static_cast<std::size_t>(k)] = e;
        out.north[offset + static_cast<std::size_t>(k)] = no;
        out.temperature[offset + static_cast<std::size_t>(k)] = t;
    }
}

}  // namespace

TidalPrediction PredictTide(const TidalAnalysis& analysis, DateTime start, double intervalSeconds, int count) {
    TidalPrediction out;
    if (count <= 0) return out;
    std::vector<const TidalConstituent*> list;
    for (const CurrentConstituent& c : analysis.constituents) list.push_back(c.constituent);
    if (list.empty())
        for (const ScalarConstituent& c : analysis.temperature) list.push_back(c.constituent);
    out.east.resize(static_cast<std::size_t>(count));
    out.north.resize(static_cast<std::size_t>(count));
    out.temperature.resize(static_cast<std::size_t>(count));

    // Within a year the nodal corrections of the middle serve, as the
    // analysis itself took them; over years they drift (K1's amplitude by
    // several per cent a year), so a long span is predicted month by month.
    constexpr double kOneCorrectionSeconds = 400.0 * 86400.0;
    constexpr double kStretchSeconds = 30.0 * 86400.0;
    const double spanSeconds = (count - 1) * intervalSeconds;
    int stretch = count;
    if (intervalSeconds > 0 && spanSeconds > kOneCorrectionSeconds)
        stretch = std::max(1, static_cast<int>(kStretchSeconds / intervalSeconds));
    for (int first = 0; first < count; first += stretch) {
        const int n = std::min(stretch, count - first);
        const DateTime from = start.AddSeconds(std::llround(first * intervalSeconds));
        PredictStretch(analysis, list, from, intervalSeconds, n, out, static_cast<std::size_t>(first));
    }
    return out;
}

}  // namespace corvan
