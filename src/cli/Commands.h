#pragma once
// The subcommands of rxt4. Each takes the arguments after its name and returns the
// process exit status (0 success, 1 failure, 2 usage or input error, 130 cancelled).

#include <span>
#include <string_view>

namespace rxt4::cli {

using Args = std::span<const std::string_view>;

int RunList(Args args);
int RunSample(Args args);
int RunRender(Args args);
int RunDownload(Args args);
int RunUpdate(Args args);
int RunImage(Args args);
int RunUdevRule(Args args);
int RunReport(Args args);
int RunExport(Args args);
int RunCheck(Args args);
int RunJob(Args args);
int RunTrend(Args args);

}  // namespace rxt4::cli
