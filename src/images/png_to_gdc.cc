// Placeholder until the image job lands.
#include "images/png_to_gdc.h"

namespace dw {

void TPNGtoGDC::Button1Click() {}

}  // namespace dw
