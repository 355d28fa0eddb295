#include "core/Records.h"

namespace resheat {

void FillMaterialPresets(PresetTable &table)
{
    auto row = [](const char *name, double density, double specificHeat, double conductivity,
                  double resistivity, double finishTemp, double alfa) {
        MaterialPreset p;
        p.name.set(name);
        p.density = density;
        p.specificHeat = specificHeat;
        p.conductivity = conductivity;
        p.resistivity = resistivity;
        p.finishTemp = finishTemp;
        p.alfa = alfa;
        return p;
    };
    table[0] = row("Cu", 8930, 389.88, 393.39, 2.67E-8, 700, 15);
    table[1] = row("steel", 7800, 481.32, 87.88, 1.5384E-7, 1500, 15);
    // The aluminium row carries the same resistivity as copper.
    table[2] = row("aluminium", 2700, 896, 229.11, 2.67E-8, 600, 15);
}

void ClearDataXY(DataXY &record) { record = DataXY{}; }
void ClearDataRZ(DataRZ &record) { record = DataRZ{}; }

} // namespace resheat
