// One-dimensional filter kernels of the interpolation methods.
#include "CrImage.h"

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

double Positive(double t) { return t > 0 ? t : 0; }

// Polynomial by Horner's rule, coefficients from the constant term up.
template <int N>
double Horner(const double (&c)[N], double t)
{
    double value = c[N - 1];
    for (int i = N - 2; i >= 0; i--)
        value = value * t + c[i];
    return value;
}

template <int N>
float Ratio(const double (&numerator)[N], const double (&denominator)[N], double t)
{
    return static_cast<float>(Horner(numerator, t) / Horner(denominator, t));
}

} // namespace

float CrImage::KernelBSpline(float x)
{
    if (x > 2.0f)
        return 0.0f;
    const double a = Positive(x + 2.0), b = Positive(x + 1.0), c = Positive(x), d = Positive(x - 1.0);
    return static_cast<float>((a * a * a - 4.0 * b * b * b + 6.0 * c * c * c - 4.0 * d * d * d) / 6.0);
}

float CrImage::KernelCubic(float x)
{
    const float t = std::fabs(x);
    if (t < 1.0f)
        return 1.0f - 2.0f * t * t + t * t * t;
    if (t < 2.0f)
        return 4.0f - 8.0f * t + 5.0f * t * t - t * t * t;
    return 0.0f;
}

float CrImage::KernelGeneralizedCubic(float x, float a)
{
    const float t = std::fabs(x);
    if (t < 1.0f)
        return (a + 2.0f) * t * t * t - (a + 3.0f) * t * t + 1.0f;
    if (t < 2.0f)
        return a * t * t * t - 5.0f * a * t * t + 8.0f * a * t - 4.0f * a;
    return 0.0f;
}

float CrImage::KernelLanczosSinc(float x, float r)
{
    if (std::fabs(x) > r)
        return 0.0f;
    if (x == 0.0f)
        return 1.0f;
    const double px = kPi * x, pxr = px / r;
    return static_cast<float>(std::sin(pxr) / pxr * std::sin(px) / px);
}

float CrImage::KernelBox(float x)
{
    return x >= -0.5f && x < 0.5f ? 1.0f : 0.0f;
}

float CrImage::KernelHermite(float x)
{
    if (x >= -1.0f && x < 0.0f)
        return -2.0f * x * x * x - 3.0f * x * x + 1.0f;
    if (x >= 0.0f && x < 1.0f)
        return 2.0f * x * x * x - 3.0f * x * x + 1.0f;
    return 0.0f;
}

float CrImage::KernelHanning(float x)
{
    if (std::fabs(x) > 1.0f)
        return 0.0f;
    if (x == 0.0f)
        return 1.0f;
    const double px = kPi * x;
    return static_cast<float>(std::sin(px) / px * (std::cos(px) + 1.0) / 2.0);
}

float CrImage::KernelHamming(float x)
{
    if (x >= -1.0f && x < 0.0f)
        return 0.92f * (-2.0f * x * x * x - 3.0f * x * x) + 1.0f;
    if (x >= 0.0f && x < 1.0f)
        return 0.92f * (2.0f * x * x * x - 3.0f * x * x) + 1.0f;
    return 0.0f;
}

float CrImage::KernelSinc(float x)
{
    if (x == 0.0f)
        return 1.0f;
    const double px = kPi * x;
    return static_cast<float>(std::sin(px) / px);
}

float CrImage::KernelBlackman(float x)
{
    return static_cast<float>(0.42 + 0.5 * std::cos(kPi * x) + 0.08 * std::cos(2.0 * kPi * x));
}

// J1(x) / x for |x| < 8, as a ratio of two polynomials in x².
float CrImage::KernelBesselJ1(float x)
{
    static const double numerator[9] = {
        0.581199354001606143928050809e+21, -0.6672106568924916298020941484e+20,
        0.2316433580634002297931815435e+19, -0.3588817569910106050743641413e+17,
        0.2908795263834775409737601689e+15, -0.1322983480332126453125473247e+13,
        0.3413234182301700539091292655e+10, -0.4695753530642995859767162166e+7,
        0.270112271089232341485679099e+4,
    };
    static const double denominator[9] = {
        0.11623987080032122878585294e+22, 0.1185770712190320999837113348e+20,
        0.6092061398917521746105196863e+17, 0.2081661221307607351240184229e+15,
        0.5243710262167649715406728642e+12, 0.1013863514358673989967045588e+10,
        0.1501793594998585505921097578e+7, 0.1606931573481487801970916749e+4,
        0.1e+1,
    };
    return Ratio(numerator, denominator, static_cast<double>(x) * x);
}

float CrImage::KernelBesselP1(float x)
{
    static const double numerator[6] = {
        0.352246649133679798341724373e+5, 0.62758845247161281269005675e+5,
        0.313539631109159574238669888e+5, 0.49854832060594338434500455e+4,
        0.2111529182853962382105718e+3, 0.12571716929145341558495e+1,
    };
    static const double denominator[6] = {
        0.352246649133679798068390431e+5, 0.626943469593560511888833731e+5,
        0.312404063819041039923015703e+5, 0.4930396490181088979386097e+4,
        0.2030775189134759322293574e+3, 0.1e+1,
    };
    return Ratio(numerator, denominator, (8.0 / x) * (8.0 / x));
}

float CrImage::KernelBesselQ1(float x)
{
    static const double numerator[6] = {
        0.3511751914303552822533318e+3, 0.7210391804904475039280863e+3,
        0.4259873011654442389886993e+3, 0.831898957673850827325226e+2,
        0.45681716295512267064405e+1, 0.3532840052740123642735e-1,
    };
    static const double denominator[6] = {
        0.74917374171809127714519505e+4, 0.154141773392650970499848051e+5,
        0.91522317015169922705904727e+4, 0.18111867005523513506724158e+4,
        0.1038187585462133728776636e+3, 0.1e+1,
    };
    return Ratio(numerator, denominator, (8.0 / x) * (8.0 / x));
}

float CrImage::KernelBesselOrder1(float x)
{
    if (x == 0.0f)
        return 0.0f;
    const double t = std::fabs(x);
    if (t < 8.0)
        return static_cast<float>(x * KernelBesselJ1(static_cast<float>(t)));
    const float tf = static_cast<float>(t);
    const double root2 = std::sqrt(2.0);
    double value = std::sqrt(2.0 / (kPi * t)) *
                   (KernelBesselP1(tf) * (std::sin(t) - std::cos(t)) / root2 +
                    8.0 / t * KernelBesselQ1(tf) * (std::sin(t) + std::cos(t)) / root2);
    return static_cast<float>(x < 0 ? -value : value);
}

float CrImage::KernelBessel(float x)
{
    if (x == 0.0f)
        return static_cast<float>(kPi / 4.0);
    return static_cast<float>(KernelBesselOrder1(static_cast<float>(kPi * x)) / (2.0 * x));
}

float CrImage::KernelGaussian(float x)
{
    return static_cast<float>(std::exp(-2.0 * x * x) * 0.79788456080286535588);
}

float CrImage::KernelQuadratic(float x)
{
    if (x >= -1.5f && x < -0.5f)
        return (x + 1.5f) * (x + 1.5f) / 2.0f;
    if (x >= -0.5f && x < 0.5f)
        return 0.75f - x * x;
    if (x >= 0.5f && x < 1.5f)
        return (x - 1.5f) * (x - 1.5f) / 2.0f;
    return 0.0f;
}

float CrImage::KernelMitchell(float x)
{
    if (x >= -2.0f && x < -1.0f)
        return 1.7777778f - x * (-3.3333333f - x * (2.0f + 0.3888889f * x));
    if (x >= -1.0f && x < 0.0f)
        return x * x * (-2.0f - 1.1666666f * x) + 0.8888889f;
    if (x >= 0.0f && x < 1.0f)
        return x * x * (1.1666666f * x - 2.0f) + 0.8888889f;
    if (x >= 1.0f && x < 2.0f)
        return x * (x * (2.0f - 0.3888889f * x) - 3.3333333f) + 1.7777778f;
    return 0.0f;
}

float CrImage::KernelCatrom(float x)
{
    if (x >= -2.0f && x < -1.0f)
        return (x * (x * (x + 5.0f) + 8.0f) + 4.0f) / 2.0f;
    if (x >= -1.0f && x < 0.0f)
        return (x * x * (-5.0f - 3.0f * x) + 2.0f) / 2.0f;
    if (x >= 0.0f && x < 1.0f)
        return (x * x * (3.0f * x - 5.0f) + 2.0f) / 2.0f;
    if (x >= 1.0f && x < 2.0f)
        return (x * (x * (5.0f - x) - 8.0f) + 4.0f) / 2.0f;
    return 0.0f;
}

float CrImage::KernelPower(float x, float a)
{
    if (std::fabs(x) > 1.0f)
        return 0.0f;
    return 1.0f - static_cast<float>(std::pow(std::fabs(x), a));
}
