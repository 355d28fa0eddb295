// Lumped heating quantities of a whole charge.  Each function forms its
// products in the order of the formula and traps arithmetic faults.
#pragma once

#include "core/Records.h"

namespace resheat {

double ChargeMassXY(const DataXY &d);                  // rho L w h
double ChargeResistanceXY(const DataXY &d);            // L rho_e / (w h)
double PowerDensityXY(const DataXY &d, double current); // I I rho_e / (w h)^2
double ChargeMassRZ(const DataRZ &d);                  // rho L pi D D / 4
double ChargeResistanceRZ(const DataRZ &d);            // 4 L rho_e / (pi D D)
double PowerDensityRZ(const DataRZ &d, double current); // I I rho_e 16 / (pi^2 D^4)

double RealVoltage(double supplyVoltage, double dropPercent); // (100 - dU)/100 U
double CurrentIntensity(double realVoltage, double resistance);
double AppliedPower(double realVoltage, double current);
// 1.5 m c (Tf - Ts) / P: one and a half times the time the applied power
// needs to raise the whole mass from Ts to Tf.
double HeatingTime(double mass, double specificHeat, double startTemp, double finishTemp,
                   double power);
// I / Ic rounded to the nearest integer (ties to even), at least 1: the
// classic formulas' count, with which a contact may carry more than Ic.
double NumberOfContacts(double current, double maxContactCurrent);
// I / Ic rounded up, at least 1, so that no contact carries more than Ic.
// A quotient less than a relative 1E-9 above a whole number counts as that
// number, so that the rounding of I = Ur / R never adds a contact (3000 A at
// 1000 A a contact need 3).
double ContactsRoundedUp(double current, double maxContactCurrent);

} // namespace resheat
