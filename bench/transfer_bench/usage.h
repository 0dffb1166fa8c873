#pragma once

namespace orgalink::bench {

// Processor time in seconds (user and system) of every thread of this
// process, of the calling thread alone, and of the waited-for children.
double ProcessCpuSeconds();
double ThreadCpuSeconds();
double ChildrenCpuSeconds();

// The largest resident set this process has had, in bytes.
long PeakResidentBytes();

}  // namespace orgalink::bench
