// resheat-calc: reads one case data file, runs the calculation of its
// geometry and prints or writes the results, for scripted and batch work.
#include <string>
#include <vector>

#include "cli/CalcOptions.h"
#include "cli/Calculator.h"

int main(int argc, char **argv)
{
    using namespace resheat;
    const ParsedArguments parsed = ParseArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.error.empty()) {
        StderrHost host;
        host.showMessage("resheat-calc", parsed.error);
        if (parsed.showUsage)
            WriteToStandardError(parsed.usage);
        return Finish(parsed.options, host, kUsage);
    }
    return RunCalculator(parsed.options);
}
