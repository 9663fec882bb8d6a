#pragma once

// The layout form of this thread, shared by saving a plan and checking one
// read back: building the items of both pages costs about as much as
// printing them, so it is built once per thread and kept. A form is never
// shared between threads, and every use fills every filled item afresh.

class TPrintFormatForm;

namespace planio {

TPrintFormatForm &threadLayoutForm();

} // namespace planio
