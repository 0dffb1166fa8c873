#pragma once

namespace orgalink::bench {

// Processor time in seconds (user and system) of every thread of this
// process and of the calling thread alone.
double ProcessCpuSeconds();
double ThreadCpuSeconds();

// The largest resident set this process has had, in bytes.
long PeakResidentBytes();

}  // namespace orgalink::bench
