#include "dsp/biquad.h"

#include <cmath>
#include <numbers>

Biquad::Biquad(int type, double Fc, double Q, double peakGainDB)
{
    setBiquad(type, Fc, Q, peakGainDB);
    m_z1 = m_z2 = 0.0;
}

void Biquad::setType(int type)
{
    m_type = type;
    calcBiquad();
}

void Biquad::setQ(double Q)
{
    m_Q = Q;
    calcBiquad();
}

void Biquad::setFc(double Fc)
{
    m_Fc = Fc;
    calcBiquad();
}

void Biquad::setPeakGain(double peakGainDB)
{
    m_peakGain = peakGainDB;
    calcBiquad();
}

void Biquad::setBiquad(int type, double Fc, double Q, double peakGainDB)
{
    m_type = type;
    m_Q = Q;
    m_Fc = Fc;
    setPeakGain(peakGainDB);
}

void Biquad::calcBiquad()
{
    const double V = std::pow(10.0, std::fabs(m_peakGain) / 20.0);
    const double K = std::tan(std::numbers::pi * m_Fc);
    const double KK = K * K;
    const double r2 = std::numbers::sqrt2;
    const double r2V = std::sqrt(2.0 * V);
    const bool boost = m_peakGain >= 0.0;
    double norm = 0.0;
    switch (m_type) {
    case lowpass:
        norm = 1.0 / (1.0 + K / m_Q + KK);
        m_a0 = KK * norm;
        m_a1 = 2.0 * m_a0;
        m_a2 = m_a0;
        m_b1 = 2.0 * (KK - 1.0) * norm;
        m_b2 = (1.0 - K / m_Q + KK) * norm;
        break;
    case highpass:
        norm = 1.0 / (1.0 + K / m_Q + KK);
        m_a0 = norm;
        m_a1 = -2.0 * m_a0;
        m_a2 = m_a0;
        m_b1 = 2.0 * (KK - 1.0) * norm;
        m_b2 = (1.0 - K / m_Q + KK) * norm;
        break;
    case bandpass:
        norm = 1.0 / (1.0 + K / m_Q + KK);
        m_a0 = K / m_Q * norm;
        m_a1 = 0.0;
        m_a2 = -m_a0;
        m_b1 = 2.0 * (KK - 1.0) * norm;
        m_b2 = (1.0 - K / m_Q + KK) * norm;
        break;
    case notch:
        norm = 1.0 / (1.0 + K / m_Q + KK);
        m_a0 = (1.0 + KK) * norm;
        m_a1 = 2.0 * (KK - 1.0) * norm;
        m_a2 = m_a0;
        m_b1 = m_a1;
        m_b2 = (1.0 - K / m_Q + KK) * norm;
        break;
    case peak: {
        // Boost and cut swap the roles of 1/Q and V/Q.
        const double zq = (boost ? V : 1.0) / m_Q;
        const double pq = (boost ? 1.0 : V) / m_Q;
        norm = 1.0 / (1.0 + pq * K + KK);
        m_a0 = (1.0 + zq * K + KK) * norm;
        m_a1 = 2.0 * (KK - 1.0) * norm;
        m_a2 = (1.0 - zq * K + KK) * norm;
        m_b1 = m_a1;
        m_b2 = (1.0 - pq * K + KK) * norm;
        break;
    }
    case lowshelf:
        if (boost) {
            norm = 1.0 / (1.0 + r2 * K + KK);
            m_a0 = (1.0 + r2V * K + V * KK) * norm;
            m_a1 = 2.0 * (V * KK - 1.0) * norm;
            m_a2 = (1.0 - r2V * K + V * KK) * norm;
            m_b1 = 2.0 * (KK - 1.0) * norm;
            m_b2 = (1.0 - r2 * K + KK) * norm;
        } else {
            norm = 1.0 / (1.0 + r2V * K + V * KK);
            m_a0 = (1.0 + r2 * K + KK) * norm;
            m_a1 = 2.0 * (KK - 1.0) * norm;
            m_a2 = (1.0 - r2 * K + KK) * norm;
            m_b1 = 2.0 * (V * KK - 1.0) * norm;
            m_b2 = (1.0 - r2V * K + V * KK) * norm;
        }
        break;
    case highshelf:
        if (boost) {
            norm = 1.0 / (1.0 + r2 * K + KK);
            m_a0 = (V + r2V * K + KK) * norm;
            m_a1 = 2.0 * (KK - V) * norm;
            m_a2 = (V - r2V * K + KK) * norm;
            m_b1 = 2.0 * (KK - 1.0) * norm;
            m_b2 = (1.0 - r2 * K + KK) * norm;
        } else {
            norm = 1.0 / (V + r2V * K + KK);
            m_a0 = (1.0 + r2 * K + KK) * norm;
            m_a1 = 2.0 * (KK - 1.0) * norm;
            m_a2 = (1.0 - r2 * K + KK) * norm;
            m_b1 = 2.0 * (KK - V) * norm;
            m_b2 = (V - r2V * K + KK) * norm;
        }
        break;
    default:
        break; // unknown type: coefficients stay as they are
    }
}
