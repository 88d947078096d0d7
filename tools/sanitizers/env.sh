# Sanitizer settings shared by the sanitized test suite, the fuzzers and the leak checks; sourced.
# Every finding ends the process with an error. Leaks are checked at exit, except those listed in
# lsan.supp, which come from the system's graphics and audio libraries.
export ASAN_OPTIONS=detect_leaks=1:detect_stack_use_after_return=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/lsan.supp:print_suppressions=0
