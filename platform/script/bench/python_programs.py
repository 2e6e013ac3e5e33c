# The programs of ScriptBench.cpp in python3, each in a function (python's fast local variables).
import sys
import time


def addition_loop():
    n = 0
    for i in range(1, 1000001):
        n = n + i
    return n


def concatenation_loop():
    for i in range(1, 1000001):
        s = "k" + str(i)
    return s


def append_loop():
    s = ""
    for i in range(1, 100001):
        s += "k" + str(i)
    return len(s)


def fib(k):
    if k < 2:
        return k
    return fib(k - 1) + fib(k - 2)


def fibonacci():
    return fib(25)


def array_fill_and_sum():
    a = [None] * 1000000
    for i in range(0, 1000000):
        a[i] = i
    n = 0
    for i in range(0, 1000000):
        n = n + a[i]
    return n


class C:
    def __init__(self):
        self._m = None

    @property
    def v(self):
        return self._m

    @v.setter
    def v(self, x):
        self._m = x


def property_let_get():
    o = C()
    n = 0
    for i in range(1, 500001):
        o.v = i
        n = n + o.v
    return n


def string_functions():
    t = "the quick brown fox jumps over the lazy dog"
    n = 0
    for i in range(1, 200001):
        n = n + (t.find(t[16:19]) + 1) + len(t.replace("o", "0"))
    return n


PROGRAMS = {
    "AdditionLoop": addition_loop,
    "ConcatenationLoop": concatenation_loop,
    "AppendLoop": append_loop,
    "Fibonacci": fibonacci,
    "ArrayFillAndSum": array_fill_and_sum,
    "PropertyLetGet": property_let_get,
    "StringFunctions": string_functions,
}

# As the benchmark library does: repeated for half a second, the mean of a run.
program = PROGRAMS[sys.argv[1]]
runs = 0
start = time.perf_counter()
while True:
    program()
    runs += 1
    elapsed = time.perf_counter() - start
    if elapsed >= 0.5:
        break
print(f"{elapsed * 1000 / runs:.1f}")
