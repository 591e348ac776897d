#pragma once
// The recording a command reads and the files it writes, with the refusals as CliErrors.

#include <memory>
#include <string>

#include "Arguments.h"
#include "Command.h"
#include "export/OutputFile.h"
#include "storage/Recordings.h"

namespace wyk::cli {

// The recording named FILE opened as "Otworz" opens it (any extension names the .osr and .osi);
// a missing or empty sample file raises CliError(kBadInput).
StoredRecording OpenInput(const std::string& name);
// The same refusals for a recording the views opened.
void CheckOpened(const OpenOutcome& outcome, const std::string& name);

// The output named by --option, replacing an existing file only with --force; the recording
// `input`'s own .osr and .osi are refused as bad usage.
std::unique_ptr<OutputFile> OpenOutput(const Arguments& arguments, const std::string& option,
                                       const std::string& input);

}  // namespace wyk::cli
