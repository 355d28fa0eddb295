// resheat-calc: reads one case data file, runs the calculation of its
// geometry and prints or writes the results, for scripted and batch work.
#include <iostream>
#include <string>
#include <vector>

#include "cli/CalcOptions.h"
#include "cli/Calculator.h"

int main(int argc, char **argv)
{
    using namespace resheat;
    const ParsedArguments parsed = ParseArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.error.empty()) {
        std::cerr << "resheat-calc: " << parsed.error << "\n" << (parsed.showUsage ? parsed.usage : "");
        return kUsage;
    }
    return RunCalculator(parsed.options);
}
