// The program's version, shared by the resources and the windows.
#pragma once

#define TARVEL_VERSION_TEXT "1.0.0"
#define TARVEL_VERSION_RC 1, 0, 0, 0
