// Identifiers of the module's resources, shared by the .rc files and the code.
#pragma once

#define ABOUT_BITMAP_ID 486
#define PIPL_RESOURCE_ID 16000

// The module's own messages (ids 1 to 4, English and French).
#define MESSAGE_CONVERTER_NOT_FOUND 1
#define MESSAGE_CONVERTER_LAUNCH_FAILED 2
#define MESSAGE_IMPORT_FAILED 3
#define MESSAGE_UNSUPPORTED_IMAGE 4

// Texts of the host-facility warnings (one table, French language, English texts).
#define HOST_TEXT_UNREACHABLE 16989
#define HOST_TEXT_ALERT 16990
#define HOST_TEXT_DECIMAL_RANGE 16991
#define HOST_TEXT_HOST_TOO_OLD 16992
#define HOST_TEXT_HOST_INCOMPATIBLE 16993
#define HOST_TEXT_SUITE_MISSING 16994
