#include "cli/RefinedOutput.h"

#include "core/NumberText.h"
#include "core/ShownText.h"

#include "files/SafeWriter.h"

namespace resheat {

namespace {

bool Bar(const RefinedOutput &out) { return out.geometry == Geometry::XY; }

std::string General(double v) { return GeneralText(v); }

std::string EstimateText(double v) { return GeneralText(RoundedEstimate(v), 2); }

// The label left-aligned in 30 characters, then the value.
std::string Line(const std::string &label, const std::string &value)
{
    std::string s = label;
    if (s.size() < 30)
        s.resize(30, ' ');
    return s + ShownText(value) + "\n";
}

std::string PropertiesText(const RefinedResult &r)
{
    switch (r.source) {
    case PropertySource::BuiltIn:
        return r.properties + " (built-in table, typical values)";
    case PropertySource::User:
        return r.properties + " (user table)";
    case PropertySource::Constant:
        break;
    }
    return "constant (the case's own properties)";
}

bool Alternating(const RefinedOutput &out) { return out.result.frequency > 0; }

// History columns of one row: time, the temperatures of the geometry, I, P,
// and under alternating current Rac/Rdc.
std::vector<double> RowValues(const RefinedOutput &out, const RefinedRow &row)
{
    std::vector<double> v{row.temperatures[0], row.temperatures[1], row.temperatures[2]};
    if (Bar(out))
        v.push_back(row.temperatures[3]);
    v.push_back(row.current);
    v.push_back(row.power);
    if (Alternating(out))
        v.push_back(row.resistanceRatio);
    return v;
}

std::string MagneticText(const RefinedResult &r)
{
    if (r.magnetic.empty())
        return "none (not magnetic)";
    return r.magnetic == "steel" ? "steel (built-in, typical values)" : r.magnetic + " (user curve)";
}

} // namespace

std::vector<Message> RefinedMessages(const RefinedResult &r)
{
    std::vector<Message> m;
    for (const auto &w : r.warnings)
        m.push_back({"Warning", w});
    for (const auto &s : r.stopMessages)
        m.push_back({"Calculation Error", s});
    return m;
}

std::string FormatRefinedText(const RefinedOutput &out)
{
    const RefinedResult &r = out.result;
    const bool bar = Bar(out);
    std::string s = std::string("Temperature-dependent calculation, ") + (bar ? "xy" : "rz") + " geometry\n";
    s += Line("Material", bar ? out.xy.name.str() : out.rz.name.str());
    s += Line("Properties", PropertiesText(r));
    s += Line("Emissivity               [-]", General(r.emissivity));
    const bool ac = Alternating(out);
    if (ac) {
        s += Line("Frequency               [Hz]", General(r.frequency));
        s += Line("Loop reactance         [ohm]", General(r.loopReactance));
        s += Line("Magnetisation curve", MagneticText(r));
    }
    if (r.status != RefinedStatus::Reached)
        return s;
    s += Line("Heating time             [s]", General(r.heatingTime));
    s += Line("Centre temperature      [oC]", General(r.centre));
    s += Line("Mean temperature        [oC]", General(r.mean));
    if (bar) {
        s += Line("Temperature Tw          [oC]", General(r.tw));
        s += Line("Temperature Th          [oC]", General(r.th));
        s += Line("Corner temperature      [oC]", General(r.corner));
        s += Line("Centre - corner          [K]", General(r.differenceK));
    } else {
        s += Line("Surface temperature     [oC]", General(r.surface));
        s += Line("Centre - surface         [K]", General(r.differenceK));
    }
    s += Line("Current at start         [A]", General(r.currentStart));
    s += Line("Current at heating time  [A]", General(r.currentEnd));
    s += Line("Power at start           [W]", General(r.powerStart));
    s += Line("Power at heating time    [W]", General(r.powerEnd));
    s += Line("Electrical energy        [J]", General(r.energy));
    s += Line("Heat lost at surface     [J]", General(r.loss));
    s += Line("Heat stored              [J]", General(r.stored));
    s += Line("Efficiency               [-]", General(r.efficiency));
    s += Line("Number of contacts       [-]",
              General(r.contacts) + " (constant properties: " + General(r.contactsConstant) + ")");
    if (ac) {
        s += Line("Rac/Rdc at start         [-]", General(r.ratioStart));
        s += Line("Rac/Rdc at heating time  [-]", General(r.ratioEnd));
        s += Line("Power factor at start    [-]", General(r.powerFactorStart));
        s += Line("Power factor at end      [-]", General(r.powerFactorEnd));
        s += Line("Largest supply power   [kVA]", General(r.apparentPowerMax / 1000));
        s += Line("Largest supply voltage   [V]", General(r.supplyVoltageMax));
        s += Line("Surface above centre max [K]", General(r.surfaceLeadMax));
    }
    s += Line("Heating time accuracy    [s]", "about +-" + EstimateText(r.errorEstimate.heatingTime));
    s += Line("Temperature accuracy     [K]", "about +-" + EstimateText(r.errorEstimate.temperature));
    s += "\n";
    s += bar ? "time [s]  To [oC]  Tw [oC]  Th [oC]       I [A]         P [W]"
             : "time [s]  To [oC]  Tr [oC]       I [A]         P [W]";
    s += ac ? "  Rac/Rdc\n" : "\n";
    for (const auto &row : r.history) {
        const auto &t = row.temperatures;
        s += FixedColumn(t[0], 8, 3);
        for (int c = 1; c < (bar ? 4 : 3); ++c)
            s += "  " + FixedColumn(t[c], 7, 1);
        s += "  " + FixedColumn(row.current, 10, 1) + "  " + FixedColumn(row.power, 12, 1);
        s += ac ? "  " + FixedColumn(row.resistanceRatio, 7, 4) + "\n" : "\n";
    }
    return s;
}

std::string FormatRefinedJson(const RefinedOutput &out)
{
    const RefinedResult &r = out.result;
    const bool bar = Bar(out);
    auto num = [](double v) { return ShortestNumber(v); };
    std::string s = "{\"geometry\": ";
    s += bar ? "\"xy\"" : "\"rz\"";
    s += ", \"model\": \"temperature-dependent\"";
    s += ", \"material\": " + JsonString(bar ? out.xy.name.str() : out.rz.name.str());
    s += ", \"properties\": " + JsonString(r.properties);
    s += ", \"emissivity\": " + num(r.emissivity);
    const bool ac = Alternating(out);
    if (ac) {
        s += ", \"frequency_Hz\": " + num(r.frequency);
        s += ", \"loop_reactance_ohm\": " + num(r.loopReactance);
        s += ", \"magnetic\": " + (r.magnetic.empty() ? std::string("null") : JsonString(r.magnetic));
    }
    s += ", \"data\": [";
    if (bar)
        for (std::size_t i = 0; i < kDataXYNumbers.size(); ++i)
            s += (i ? ", " : "") + num(out.xy.*kDataXYNumbers[i]);
    else
        for (std::size_t i = 0; i < kDataRZNumbers.size(); ++i)
            s += (i ? ", " : "") + num(out.rz.*kDataRZNumbers[i]);
    s += "], \"results\": ";
    const bool reached = r.status == RefinedStatus::Reached;
    if (reached) {
        std::vector<std::pair<const char *, double>> fields{
            {"heating_time_s", r.heatingTime}, {"centre_C", r.centre}, {"mean_C", r.mean}};
        if (bar) {
            fields.insert(fields.end(), {{"Tw_C", r.tw}, {"Th_C", r.th}, {"corner_C", r.corner}});
        } else {
            fields.push_back({"surface_C", r.surface});
        }
        fields.insert(fields.end(), {{"dT_K", r.differenceK},
                                     {"current_start_A", r.currentStart},
                                     {"current_end_A", r.currentEnd},
                                     {"power_start_W", r.powerStart},
                                     {"power_end_W", r.powerEnd},
                                     {"energy_J", r.energy},
                                     {"loss_J", r.loss},
                                     {"stored_J", r.stored},
                                     {"efficiency", r.efficiency},
                                     {"contacts", r.contacts},
                                     {"contacts_constant", r.contactsConstant}});
        if (ac)
            fields.insert(fields.end(), {{"rac_rdc_start", r.ratioStart},
                                         {"rac_rdc_end", r.ratioEnd},
                                         {"power_factor_start", r.powerFactorStart},
                                         {"power_factor_end", r.powerFactorEnd},
                                         {"supply_kVA_max", r.apparentPowerMax / 1000},
                                         {"supply_voltage_max_V", r.supplyVoltageMax},
                                         {"surface_lead_max_K", r.surfaceLeadMax}});
        s += "{";
        for (std::size_t i = 0; i < fields.size(); ++i)
            s += (i ? ", \"" : "\"") + std::string(fields[i].first) + "\": " + num(fields[i].second);
        s += "}";
    } else {
        s += "null";
    }
    s += ", \"history\": [";
    if (reached)
        for (std::size_t i = 0; i < r.history.size(); ++i) {
            const auto v = RowValues(out, r.history[i]);
            s += i ? ", [" : "[";
            for (std::size_t c = 0; c < v.size(); ++c)
                s += (c ? ", " : "") + num(v[c]);
            s += "]";
        }
    s += "], \"error_estimate\": ";
    if (reached)
        s += "{\"heating_time_s\": " + num(r.errorEstimate.heatingTime) +
             ", \"temperature_K\": " + num(r.errorEstimate.temperature) + "}";
    else
        s += "null";
    s += ", \"status\": " + std::to_string(out.status) + ", \"messages\": " + JsonMessages(out.messages) + "}\n";
    return s;
}

void WriteRefinedHistoryCsv(const std::string &fileName, const RefinedOutput &out)
{
    std::string heading = Bar(out) ? "time_s,To_C,Tw_C,Th_C,I_A,P_W" : "time_s,To_C,Tr_C,I_A,P_W";
    if (Alternating(out))
        heading += ",Rac_Rdc";
    std::vector<std::string> lines{heading};
    for (const auto &row : out.result.history) {
        std::string line;
        for (const double v : RowValues(out, row))
            line += (line.empty() ? "" : ",") + ShortestNumber(v);
        lines.push_back(line);
    }
    WriteLines(fileName, lines, "\n");
}

} // namespace resheat
