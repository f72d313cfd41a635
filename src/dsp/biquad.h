#pragma once

// Digital second-order section with the usual published design formulas.
// Fc is a fraction of the sample rate; peak gain is in dB.
class Biquad
{
public:
    enum Type { lowpass = 0, highpass, bandpass, notch, peak, lowshelf, highshelf };

    Biquad() = default;
    Biquad(int type, double Fc, double Q, double peakGainDB);

    void setType(int type);
    void setQ(double Q);
    void setFc(double Fc);
    void setPeakGain(double peakGainDB);
    void setBiquad(int type, double Fc, double Q, double peakGainDB);

    int type() const { return m_type; }
    double a0() const { return m_a0; }
    double a1() const { return m_a1; }
    double a2() const { return m_a2; }
    double b1() const { return m_b1; }
    double b2() const { return m_b2; }

private:
    void calcBiquad();

    int m_type = lowpass;
    double m_a0 = 1.0, m_a1 = 0.0, m_a2 = 0.0; // feed-forward
    double m_b1 = 0.0, m_b2 = 0.0; // feedback
    double m_Fc = 0.5, m_Q = 0.707, m_peakGain = 0.0;
    double m_z1 = 0.0, m_z2 = 0.0;
};
