// app_version.h: the program's version, in the one place that the version record and the release's name read it from.
#pragma once

// Plain #defines, because app.rc includes this; the release script reads
// KAVREN_VERSION_TEXT from here for the name of the zip.
#define KAVREN_VERSION_MAJOR 1
#define KAVREN_VERSION_MINOR 0
#define KAVREN_VERSION_TEXT "1.00"
