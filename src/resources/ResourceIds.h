// Identifiers of the module's resources, shared by the .rc files and the code.
#pragma once

#define ABOUT_BITMAP_ID 486
#define PIPL_RESOURCE_ID 16000
