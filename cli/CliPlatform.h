#pragma once
#include "platform/DeviceOpener.h"
#include "platform/FileSource.h"

namespace brimwell::cli {

// The real services of the system the companion runs on: Linux (QSettings profile, udev,
// device nodes) or Windows (registry, SetupAPI, the file API). CliPlatform.cpp is the one
// place that knows which they are.

// Reads the files named on the command line (logo pictures, firmware update files).
IFileSource& NativeFileSource();

// Creates or truncates the plain files the companion writes (--output, --pcx); "-" is
// standard output.
IDeviceOpener& NativeOutputOpener();

// Runs the program with the real services on the process's own arguments: argv on Linux, the
// UTF-16 command line on Windows. Returns the exit status.
int RunNative(int argc, char** argv);

} // namespace brimwell::cli
