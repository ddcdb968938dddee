// The real test images the build makes beside the test programs
// (tests/transfer/real-images.sh): files of other programs and odd or
// damaged variants of them. A test that needs one fails when it is missing,
// never skips: the file guards against a fault that crashed a host.
#pragma once

#include <string>

// BIN\transfer-images
std::string RealImagesFolder();

// The file's full path.
std::string RealImage(const std::string& name);

// Why the file is not there (what real-images.sh could not make, or that it
// was removed since); empty when it is.
std::string MissingRealImage(const std::string& name);
