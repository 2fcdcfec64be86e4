#include "platform/random.h"

namespace gloam {

SeededRandom& ProcessRandom() {
    static SeededRandom generator;
    return generator;
}

}  // namespace gloam
