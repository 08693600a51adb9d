// Function objects in the style of a standard library: class names that end with the
// name of their base, and a helper declared as a class here and as a struct in
// table.h.
#pragma once
#include "table.h"

template <typename Arg, typename Result>
struct unary_function {
    using argument_type = Arg;
    using result_type = Result;
};

template <typename Arg, typename Result>
class pointer_to_unary_function : public unary_function<Arg, Result> {
public:
    explicit pointer_to_unary_function(Result (*f)(Arg)) : f_(f) {}
    Result operator()(Arg x) const { return f_(x); }

private:
    Result (*f_)(Arg);
};

template <typename, typename, typename> class merge_helper { };

template <typename Arg, typename Result>
inline pointer_to_unary_function<Arg, Result> ptr_fun(Result (*f)(Arg)) {
    return pointer_to_unary_function<Arg, Result>(f);
}
