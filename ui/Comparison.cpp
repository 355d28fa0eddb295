#include "ui/Comparison.h"

#include <cmath>

#include "core/Errors.h"
#include "core/Heating.h"
#include "core/Host.h"
#include "ui/NumberFormat.h"

namespace resheat::ui {

namespace {

constexpr int kDigits = 4;

// Keeps what the constant-property calculation says instead of showing it;
// it has no progress window of its own here.
class CollectingHost : public CalcHost {
public:
    explicit CollectingHost(std::vector<std::pair<std::string, std::string>> &messages) : m_messages(messages) {}
    void showMessage(const std::string &caption, const std::string &text) override
    {
        m_messages.emplace_back(caption, text);
    }

private:
    std::vector<std::pair<std::string, std::string>> &m_messages;
};

ConstantRun RunConstant(const CompareCase &c)
{
    ConstantRun run;
    CollectingHost host(run.messages);
    try {
        if (c.bar) {
            run.completed = CalculationXY(c.xy, false, run.xy, 0, run.history, host) == RunOutcome::Completed;
            if (run.completed)
                run.atHeatingTime = SeriesStateXY(c.xy, run.xy.heatingTime);
        } else {
            run.completed = CalculationRZ(c.rz, false, run.rz, 0, run.history, host) == RunOutcome::Completed;
            if (run.completed)
                run.atHeatingTime = SeriesStateRZ(c.rz, run.rz.heatingTime);
        }
    } catch (const ArithmeticFault &fault) {
        run.completed = false;
        run.messages.emplace_back("Calculation Error", fault.what());
    }
    return run;
}

QString Text(const std::string &text)
{
    return QString::fromStdString(text);
}

} // namespace

Comparison RunComparison(const CompareCase &c, const PropertyTable &table, const RefinedOptions &options)
{
    Comparison out;
    out.input = c;
    out.constant = RunConstant(c);
    try {
        out.refined = c.bar ? RefinedCalculationXY(c.xy, table, options) : RefinedCalculationRZ(c.rz, table, options);
    } catch (const ArithmeticFault &fault) {
        out.refined = RefinedResult{};
        out.refined.bar = c.bar;
        out.refined.status = RefinedStatus::Refused;
        out.refined.properties = table.name;
        out.refined.source = table.source;
        out.refined.emissivity = options.emissivity.value_or(table.emissivity);
        out.refined.stopMessages = {fault.what()};
    }
    return out;
}

std::vector<CompareRow> CompareRows(const Comparison &c)
{
    using Value = std::optional<double>;
    const ConstantRun &k = c.constant;
    const RefinedResult &r = c.refined;
    const bool hasConstant = k.completed;
    const bool hasRefined = r.status == RefinedStatus::Reached;

    // Constant model: its lumped results and the charge at its heating time.
    double time = 0, current = 0, power = 0, contacts = 0;
    const bool bar = c.input.bar;
    if (bar) {
        time = k.xy.heatingTime;
        current = k.xy.current;
        power = k.xy.power;
        contacts = k.xy.contacts;
    } else {
        time = k.rz.heatingTime;
        current = k.rz.current;
        power = k.rz.power;
        contacts = k.rz.contacts;
    }
    const ChargeState &at = k.atHeatingTime;
    auto constant = [&](double v) { return hasConstant ? Value(v) : Value(); };
    auto refined = [&](double v) { return hasRefined ? Value(v) : Value(); };
    const Value none;

    std::vector<CompareRow> rows{
        {QStringLiteral("Heating time [s]"), constant(time), refined(r.heatingTime)},
        {QStringLiteral("Centre temperature [oC]"), constant(at.centre), refined(r.centre)},
        {QStringLiteral("Mean temperature [oC]"), constant(at.mean), refined(r.mean)},
    };
    if (bar) {
        rows.insert(rows.end(), {
            {QStringLiteral("Temperature Tw [oC]"), constant(at.second), refined(r.tw)},
            {QStringLiteral("Temperature Th [oC]"), constant(at.third), refined(r.th)},
            {QStringLiteral("Corner temperature [oC]"), none, refined(r.corner)},
            {QStringLiteral("Centre - Tw [K]"), constant(at.centre - at.second), refined(r.centre - r.tw)},
            {QStringLiteral("Centre - Th [K]"), constant(at.centre - at.third), refined(r.centre - r.th)},
            {QStringLiteral("Centre - corner [K]"), none, refined(r.differenceK)},
        });
    } else {
        rows.insert(rows.end(), {
            {QStringLiteral("Surface temperature [oC]"), constant(at.second), refined(r.surface)},
            {QStringLiteral("Centre - surface [K]"), constant(at.centre - at.second), refined(r.differenceK)},
        });
    }
    rows.insert(rows.end(), {
        {QStringLiteral("Current at start [A]"), constant(current), refined(r.currentStart)},
        {QStringLiteral("Current at heating time [A]"), constant(current), refined(r.currentEnd)},
        {QStringLiteral("Power at start [W]"), constant(power), refined(r.powerStart)},
        {QStringLiteral("Power at heating time [W]"), constant(power), refined(r.powerEnd)},
        {QStringLiteral("Electrical energy [J]"), constant(at.energy), refined(r.energy)},
        {QStringLiteral("Heat lost at surface [J]"), constant(at.loss), refined(r.loss)},
        {QStringLiteral("Heat stored [J]"), constant(at.stored), refined(r.stored)},
        {QStringLiteral("Efficiency [-]"), constant(at.efficiency), refined(r.efficiency)},
        {QStringLiteral("Number of contacts [-]"), constant(contacts), refined(r.contacts)},
    });
    return rows;
}

QString FormatCompareValue(const std::optional<double> &value)
{
    if (!value || !std::isfinite(*value))
        return QStringLiteral("\u2014");
    return FormatGeneral(*value, kDigits);
}

QStringList CompareNotes(const Comparison &c, const PropertyTable &table, const QString &material)
{
    QStringList lines;
    lines << QStringLiteral("Constant properties: the case's resistivity, heat conductivity and specific heat.");
    switch (table.source) {
    case PropertySource::BuiltIn:
        lines << QStringLiteral("Temperature-dependent properties: the built-in table \"%1\".").arg(Text(table.name));
        break;
    case PropertySource::User:
        lines << QStringLiteral("Temperature-dependent properties: the table of the file %1.").arg(Text(table.name));
        break;
    case PropertySource::Constant:
        lines << QStringLiteral("Temperature-dependent properties: no table for the material \"%1\"; the case's "
                                "constant properties.")
                     .arg(material);
        break;
    }
    // The note's lines are the comment lines of the table file: one paragraph.
    if (!table.note.empty())
        lines << Text(table.note).split(QLatin1Char('\n'), Qt::SkipEmptyParts).join(QLatin1Char(' '));
    lines << QStringLiteral("Emissivity: %1").arg(FormatGeneral(c.refined.emissivity, 15));
    if (c.refined.status == RefinedStatus::Reached)
        lines << QStringLiteral("Temperature-dependent: accuracy about \u00b1%1 K, heating time \u00b1%2 s.")
                     .arg(FormatGeneral(RoundedEstimate(c.refined.errorEstimate.temperature), 2),
                          FormatGeneral(RoundedEstimate(c.refined.errorEstimate.heatingTime), 2));

    for (const std::string &warning : c.refined.warnings)
        lines << QStringLiteral("Warning: ") + Text(warning);
    for (const auto &[caption, text] : c.constant.messages)
        lines << QStringLiteral("Constant properties, %1: %2").arg(Text(caption), Text(text));
    if (c.refined.status != RefinedStatus::Reached)
        for (const std::string &message : c.refined.stopMessages)
            lines << QStringLiteral("Temperature-dependent: ") + Text(message);
    return lines;
}

} // namespace resheat::ui
