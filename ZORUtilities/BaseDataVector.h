#pragma once

#include "BaseDataComplex.h"

// A quantity in polar form: magnitude and angle in degrees. The angle is
// stored as given; results of arithmetic come back with a non-negative range
// and their angle in [0, 360).
class BaseDataVector
{
public:
    BaseDataVector() = default;
    BaseDataVector(double range, double angle);
    BaseDataVector(const BaseDataComplex& value);
    BaseDataVector(const BaseDataVector&) = default;

    BaseDataVector& operator=(const BaseDataVector&) = default;
    BaseDataVector& operator=(const BaseDataComplex& value);

    double getRange() const { return dataRange; }
    double getAngle() const { return dataAngle; }
    void setRange(double value) { dataRange = value; }
    void setAngle(double value) { dataAngle = value; }

    // range * cos(angle); exactly 0 for a stored angle of exactly 90 or 270.
    double getReal() const;
    // range * sin(angle); exactly 0 for a stored angle of exactly 0, 180 or 360.
    double getImage() const;
    // Replace one rectangular part; range and angle are recomputed.
    void setReal(double value);
    void setImage(double value);

    BaseDataComplex getComplex() const;
    void setComplex(const BaseDataComplex& value);
    void setComplex(double real, double image);

    BaseDataVector getVector() const { return *this; }
    void setVector(const BaseDataVector& value);
    void setVector(double range, double angle);

    BaseDataVector length(double offset) const;
    BaseDataVector rotate(double offset) const;
    // Moved in the plane by (real, image).
    BaseDataVector offset(double real, double image) const;
    // Range scaled as stored: a negative factor gives a negative range.
    BaseDataVector multiple(double factor) const;
    // Distance between the two points in the plane.
    double distance(const BaseDataVector& value) const;

    // Normalise in place (BaseDataUtility::formatVector), after turning by offset.
    void formatAngle();
    void formatAngle(double offset);

    double dataRange = 0.0;
    double dataAngle = 0.0;
};

// Complex arithmetic on the rectangular forms, the result back in polar form.
// The quotient's squared divisor is raised to 1e-13 when below it, so
// dividing by the zero vector gives (0, 0). A number is added to (subtracted
// from) both rectangular parts; dividing by a number whose magnitude is not
// above 1e-7 gives (0, 0).
BaseDataVector operator+(BaseDataVector left, BaseDataVector right);
BaseDataVector operator-(BaseDataVector left, BaseDataVector right);
BaseDataVector operator*(BaseDataVector left, BaseDataVector right);
BaseDataVector operator/(BaseDataVector left, BaseDataVector right);
BaseDataVector operator+(BaseDataVector left, double right);
BaseDataVector operator-(BaseDataVector left, double right);
BaseDataVector operator*(BaseDataVector left, double right);
BaseDataVector operator/(BaseDataVector left, double right);
BaseDataVector operator+(BaseDataVector left, BaseDataComplex right);
BaseDataVector operator-(BaseDataVector left, BaseDataComplex right);
BaseDataVector operator*(BaseDataVector left, BaseDataComplex right);
BaseDataVector operator/(BaseDataVector left, BaseDataComplex right);
BaseDataVector operator+(BaseDataComplex left, BaseDataVector right);
BaseDataVector operator-(BaseDataComplex left, BaseDataVector right);
BaseDataVector operator*(BaseDataComplex left, BaseDataVector right);
BaseDataVector operator/(BaseDataComplex left, BaseDataVector right);
