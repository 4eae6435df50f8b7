#include "Delays.h"

#include <cmath>

double DrawDelay(const TTransition& transition, TRandom& random) {
    double delay = transition.Delay;
    switch (transition.DelayType) {
    case dtDefault:
        break;
    case dtUniform:
        delay = UniformRandom(random) * 2 * transition.Deviation +
                (transition.Delay - transition.Deviation);
        break;
    case dtNormal: {
        double sum = 0;
        for (int i = 0; i < 12; ++i)
            sum += UniformRandom(random);
        delay = transition.Deviation * (sum - 6) + transition.Delay;
        break;
    }
    case dtExponential: {
        // ln(0) has no finite value: a draw of exactly 0 is drawn again.
        double u = UniformRandom(random);
        while (u == 0)
            u = UniformRandom(random);
        delay = -transition.Delay * std::log(u);
        break;
    }
    }
    return delay >= 0 ? delay : 0; // also a delay that is not a number, from infinite terms
}
