#pragma once

// A reference for the distance fault model: a source EMF behind a source
// impedance, the relay, then the line to the fault, each element given by its
// sequence impedances and turned into a phase matrix A diag(Z0, Z1, Z1) A^-1.
// The fault conditions are solved as a 3x3 complex linear system.

#include <array>
#include <cmath>
#include <complex>

namespace faultnet {

using Cx = std::complex<double>;
using Phases = std::array<Cx, 3>;
using Matrix = std::array<std::array<Cx, 3>, 3>;

constexpr double PI = 3.141592653589793;

inline Cx polar(double range, double degrees)
{
    return std::polar(range, degrees * PI / 180.0);
}

inline double argDeg(Cx value)
{
    return std::arg(value) * 180.0 / PI;
}

// Positive (= negative) and zero sequence impedance of one element.
struct Sequence {
    Cx z1;
    Cx z0;
};

inline Matrix phaseMatrix(const Sequence& s)
{
    const Cx a = polar(1, 120), a2 = a * a;
    const Matrix A = {{{1, 1, 1}, {1, a2, a}, {1, a, a2}}};
    const Matrix Ainv = {{{1.0 / 3, 1.0 / 3, 1.0 / 3}, {1.0 / 3, a / 3.0, a2 / 3.0}, {1.0 / 3, a2 / 3.0, a / 3.0}}};
    const Cx d[3] = {s.z0, s.z1, s.z1};
    Matrix m{};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            for (int k = 0; k < 3; ++k)
                m[r][c] += A[r][k] * d[k] * Ainv[k][c];
    return m;
}

inline Cx det(const Matrix& m)
{
    return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1])
        - m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0])
        + m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
}

// Cramer's rule.
inline Phases solveLinear(const Matrix& m, const Phases& r)
{
    Phases x{};
    for (int c = 0; c < 3; ++c) {
        Matrix t = m;
        for (int row = 0; row < 3; ++row)
            t[row][c] = r[row];
        x[c] = det(t) / det(m);
    }
    return x;
}

struct Result {
    Phases u; // at the relay
    Phases i; // into the line
};

inline Phases emf(double E)
{
    return {polar(E, 0), polar(E, 240), polar(E, 120)};
}

// faulted: phases in the fault; earthed: the fault touches earth (a
// three-phase fault is solved earthed, which a balanced network ignores).
inline Result solve(double E, const Sequence& source, const Sequence& line,
                    const std::array<bool, 3>& faulted, bool earthed)
{
    const Matrix zs = phaseMatrix(source);
    Matrix zt = phaseMatrix(line);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            zt[r][c] += zs[r][c];
    const Phases e = emf(E);

    // Fault-point voltage of phase k: e_k - zt[k] . I.
    Matrix m{};
    Phases rhs{};
    int first = -1;
    for (int k = 0; k < 3; ++k) {
        if (!faulted[k]) {
            m[k][k] = 1.0; // no current in a healthy phase
        } else if (earthed) {
            m[k] = zt[k];
            rhs[k] = e[k];
        } else if (first < 0) {
            first = k;
        } else { // the two phases meet: equal voltages, opposite currents
            for (int c = 0; c < 3; ++c)
                m[first][c] = zt[first][c] - zt[k][c];
            rhs[first] = e[first] - e[k];
            m[k][first] = 1.0;
            m[k][k] = 1.0;
        }
    }
    Result out;
    out.i = solveLinear(m, rhs);
    for (int k = 0; k < 3; ++k) {
        out.u[k] = e[k];
        for (int c = 0; c < 3; ++c)
            out.u[k] -= zs[k][c] * out.i[c];
    }
    return out;
}

} // namespace faultnet
