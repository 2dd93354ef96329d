// The C++ library's ways of failing, as the program has them: an error the
// library reports becomes a framework::Failure, which every window procedure
// catches, and terminate ends the program at once and quietly. The library's
// own versions would add its exception classes with a second string type, a
// demangler and a verbose terminate handler for a console the program does
// not have. Defined here, the library's versions are not linked.
#include "framework/failure.h"

#include <cstdlib>

#if defined(__GLIBCXX__)
namespace __gnu_cxx {
void __verbose_terminate_handler()
{
    std::abort();
}
}  // namespace __gnu_cxx

namespace std {
void __throw_bad_exception() { throw framework::Failure("bad exception"); }
void __throw_bad_alloc() { throw framework::Failure("out of memory"); }
void __throw_bad_array_new_length() { throw framework::Failure("bad array length"); }
void __throw_bad_cast() { throw framework::Failure("bad cast"); }
void __throw_bad_typeid() { throw framework::Failure("bad typeid"); }
void __throw_logic_error(const char* what) { throw framework::Failure(what); }
void __throw_domain_error(const char* what) { throw framework::Failure(what); }
void __throw_invalid_argument(const char* what) { throw framework::Failure(what); }
void __throw_length_error(const char* what) { throw framework::Failure(what); }
void __throw_out_of_range(const char* what) { throw framework::Failure(what); }
void __throw_out_of_range_fmt(const char* what, ...) { throw framework::Failure(what); }
void __throw_runtime_error(const char* what) { throw framework::Failure(what); }
void __throw_range_error(const char* what) { throw framework::Failure(what); }
void __throw_overflow_error(const char* what) { throw framework::Failure(what); }
void __throw_underflow_error(const char* what) { throw framework::Failure(what); }
}  // namespace std
#endif
