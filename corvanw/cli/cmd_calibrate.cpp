// corvan calibrate / recalc: the two thermistor calculators without their
// dialogs. Every value printed is the text the dialog's box would show.

#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli_common.h"
#include "cli/command_registry.h"
#include "cli/tool_cli.h"
#include "tools/calibration.h"
#include "tools/number_entry.h"

namespace corvan::cli {
namespace {

// Numbers computed here are printed with a point; what the user typed is
// echoed as typed.
constexpr char kSeparator = '.';

void Print(const std::string& text) { std::fwrite(text.data(), 1, text.size(), stdout); }

int RunCalibrate(const std::vector<std::string>& args) {
    CLI::App app(
        "Temperature calibration from three resistance / temperature pairs.\n"
        "Numbers may be typed with \".\" or \",\". The text output is the printed calibration sheet.",
        "corvan calibrate");
    std::vector<std::string> points;
    std::vector<std::string> tests;
    std::string instrument;
    bool json = false;
    app.add_option("R1_T1_R2_T2_R3_T3", points, "three resistances (ohm) each followed by its temperature (deg C)")
        ->required()
        ->expected(6);
    app.add_option("--test", tests, "a resistance for the test pad; one sheet line each")->allow_extra_args(false);
    app.add_option("--instrument", instrument, "the instrument number printed on the sheet");
    app.add_flag("--json", json, "the boxes' texts as JSON");
    if (const auto status = ParseToolOptions(app, args)) return *status;

    CalRawModel model(kSeparator);
    const CalRawModel::Box order[6] = {CalRawModel::R1, CalRawModel::T1, CalRawModel::R2,
                                       CalRawModel::T2, CalRawModel::R3, CalRawModel::T3};
    const char* names[6] = {"R1", "T1", "R2", "T2", "R3", "T3"};
    for (int i = 0; i < 6; ++i) {
        model.Enter(order[i], points[static_cast<std::size_t>(i)]);
        if (!model.Valid(order[i]))
            return ToolUsageError("calibrate",
                                  std::string(names[i]) + " is not a number: " + points[static_cast<std::size_t>(i)]);
    }
    std::vector<std::string> temperatures;
    for (const std::string& r : tests) temperatures.push_back(model.TestPad(r));

    std::string out;
    if (json) {
        out = "{\"a\": " + JsonString(model.CoefficientText(0)) + ", \"b\": " + JsonString(model.CoefficientText(1)) +
              ", \"c\": " + JsonString(model.CoefficientText(2)) + ", \"tests\": [";
        for (std::size_t i = 0; i < tests.size(); ++i) {
            if (i) out += ", ";
            out += "{\"r\": " + JsonString(tests[i]) + ", \"t\": " + JsonString(temperatures[i]) + "}";
        }
        out += "]}\n";
    } else {
        for (const std::string& line : model.SheetHeading(instrument)) out += line + "\n";
        for (std::size_t i = 0; i < tests.size(); ++i) out += model.SheetTestLine(tests[i], temperatures[i]) + "\n";
    }
    Print(out);
    return kExitOk;
}

int RunRecalc(const std::vector<std::string>& args) {
    CLI::App app(
        "Recalculate calibration coefficient A from one reference measurement.\n"
        "Numbers may be typed with \".\" or \",\".",
        "corvan recalc");
    std::vector<std::string> abc;
    std::string measured;
    std::string rt;
    std::string reference;
    bool json = false;
    app.add_option("A_B_C", abc, "the calibration coefficients")->required()->expected(3);
    auto* m = app.add_option("--measured", measured, "temperature measured by the instrument: searches Rt");
    auto* r = app.add_option("--rt", rt, "the resistor value Rt, typed instead of searched");
    m->excludes(r);
    r->excludes(m);
    app.add_option("--reference", reference, "reference temperature: computes the new A from Rt");
    app.add_flag("--json", json, "the boxes' texts as JSON");
    if (const auto status = ParseToolOptions(app, args)) return *status;

    ReCalcModel model(kSeparator);
    std::string boxes[3];
    const char* names[3] = {"A", "B", "C"};
    for (int i = 0; i < 3; ++i) {
        boxes[i] = model.EnterCoefficient(i, abc[static_cast<std::size_t>(i)]);
        if (!ParseUserNumber(abc[static_cast<std::size_t>(i)], kSeparator))
            return ToolUsageError("recalc",
                                  std::string(names[i]) + " is not a number: " + abc[static_cast<std::size_t>(i)]);
    }
    std::string rtBox;
    if (m->count() > 0)
        rtBox = model.RtText(measured);
    else if (r->count() > 0)
        rtBox = rt;
    const std::string newA = app.count("--reference") > 0 ? model.NewAText(rtBox, reference) : "";

    std::string out;
    if (json) {
        out = "{\"a\": " + JsonString(boxes[0]) + ", \"b\": " + JsonString(boxes[1]) +
              ", \"c\": " + JsonString(boxes[2]) + ", \"rt\": " + JsonString(rtBox) +
              ", \"new_a\": " + JsonString(newA) + "}\n";
    } else {
        out = "A: " + boxes[0] + "\nB: " + boxes[1] + "\nC: " + boxes[2] + "\nRt: " + rtBox + "\nNew A: " + newA + "\n";
    }
    Print(out);
    return kExitOk;
}

const CommandRegistrar kCalibrate("calibrate",
                                  "calibrate R1 T1 R2 T2 R3 T3 [--test R]... [--instrument TEXT] [--json]  "
                                  "thermistor coefficients and the calibration sheet",
                                  &RunCalibrate);
const CommandRegistrar kRecalc("recalc",
                               "recalc A B C [--measured T | --rt RT] [--reference TREF] [--json]  "
                               "recalculate calibration coefficient A",
                               &RunRecalc);

}  // namespace
}  // namespace corvan::cli
