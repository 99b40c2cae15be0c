// Moves a printer through its jobs once a second so a demo shows activity.
#pragma once

#include "printerconfig.h"

class PrinterAnimator {
public:
    static constexpr uint8_t kBusy = 0x04;
    static constexpr int kPercentStep = 25;
    static constexpr int kIdleSeconds = 3;

    // Remembers the printer's initial job count; printers starting with no
    // jobs never change.
    explicit PrinterAnimator(const PrinterConfig& initial);

    // Sets the busy bit to match the job count.
    void Start(PrinterConfig* printer) const;

    // One second passes.
    void Tick(PrinterConfig* printer);

private:
    void UpdateBusy(PrinterConfig* printer) const;

    int32_t initialJobs_;
    int idleSeconds_ = 0;
};
