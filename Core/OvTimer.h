#pragma once
// Elapsed time in milliseconds from the performance counter, kept honest by the tick count.

#include "OvTimerLowPrecision.h"

class OvTimer : public OvTimerLowPrecision {
public:
    OvTimer();

    void Reset() override;
    // Milliseconds since the last reset. When the counter disagrees with the tick count by more
    // than a second (a counter that jumps), the tick count is trusted; never negative.
    DWORD Elapsed(bool reset = false) override;

private:
    static LONGLONG Counter();

    LONGLONG lastCounter_ = 0;   // 0 when the system has no performance counter
    double msPerTick_ = 0;
};
