#pragma once

class BaseDataVector;

// A quantity in rectangular form (real, imaginary). Converted to the polar
// BaseDataVector on request; nothing is cached.
class BaseDataComplex
{
public:
    BaseDataComplex() = default;
    BaseDataComplex(double real, double image);
    BaseDataComplex(const BaseDataVector& vector);
    BaseDataComplex(const BaseDataComplex&) = default;

    BaseDataComplex& operator=(const BaseDataComplex&) = default;
    BaseDataComplex& operator=(const BaseDataVector& vector);

    double getReal() const { return dataReal; }
    double getImage() const { return dataImage; }
    void setReal(double value) { dataReal = value; }
    void setImage(double value) { dataImage = value; }

    // sqrt(real^2 + image^2).
    double getRange() const;
    // Degrees in [0, 360) by quadrant; 0 for the origin and for a NaN real part.
    double getAngle() const;
    void setRange(double value);
    void setAngle(double value);

    BaseDataVector getVector() const;
    void setVector(const BaseDataVector& vector);
    void setVector(double range, double angle);

    BaseDataComplex getComplex() const { return *this; }
    void setComplex(double real, double image);
    void setComplex(const BaseDataComplex& value);

    double dataReal = 0.0;
    double dataImage = 0.0;
};

// Rectangular arithmetic. A number is added to (subtracted from) both parts.
// The quotient's squared divisor is raised to 1e-12 when below it, so
// dividing by zero gives (0, 0). Dividing by a number whose magnitude is not
// above 1e-7 gives (0, 0) as well (see operator/(BaseDataComplex, double)).
BaseDataComplex operator+(BaseDataComplex left, BaseDataComplex right);
BaseDataComplex operator-(BaseDataComplex left, BaseDataComplex right);
BaseDataComplex operator*(BaseDataComplex left, BaseDataComplex right);
BaseDataComplex operator/(BaseDataComplex left, BaseDataComplex right);
BaseDataComplex operator+(BaseDataComplex left, double right);
BaseDataComplex operator-(BaseDataComplex left, double right);
BaseDataComplex operator*(BaseDataComplex left, double right);
BaseDataComplex operator/(BaseDataComplex left, double right);

#include "BaseDataVector.h"
