// Resource IDs shared by app.rc and the C++ sources; plain #defines because rc files include this.
#pragma once

#define IDI_APP 100
