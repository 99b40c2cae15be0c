#include "printeranimator.h"

PrinterAnimator::PrinterAnimator(const PrinterConfig& initial) : initialJobs_(initial.jobs) {}

void PrinterAnimator::Start(PrinterConfig* printer) const
{
    UpdateBusy(printer);
}

void PrinterAnimator::Tick(PrinterConfig* printer)
{
    if (initialJobs_ <= 0)
        return;
    if (printer->jobs > 0) {
        // 64-bit so that a configured percent near INT32_MAX cannot overflow.
        if (static_cast<int64_t>(printer->percent) + kPercentStep >= 100) {
            printer->percent = 0;
            --printer->jobs;
            idleSeconds_ = 0;
        } else {
            printer->percent += kPercentStep;
        }
    } else if (++idleSeconds_ >= kIdleSeconds) {
        printer->jobs = initialJobs_;
        idleSeconds_ = 0;
    }
    UpdateBusy(printer);
}

void PrinterAnimator::UpdateBusy(PrinterConfig* printer) const
{
    if (initialJobs_ <= 0)
        return;
    if (printer->jobs > 0)
        printer->state |= kBusy;
    else
        printer->state &= static_cast<uint8_t>(~kBusy);
}
