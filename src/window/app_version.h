// app_version.h: the program's name and version, in the one place that the window, the version record and the release's
// name read them from.
#pragma once

// Plain #defines, because app.rc includes this; the release script reads
// KAVREN_VERSION_TEXT from here for the name of the zip.
#define KAVREN_VERSION_MAJOR 1
#define KAVREN_VERSION_MINOR 0
#define KAVREN_VERSION_TEXT "1.00"
// As the title bar and the version record say it; UTF-8, as this file is.
#define KAVREN_PRODUCT_NAME "Kavren批量Txt文件编码查看器"
