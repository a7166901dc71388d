#pragma once
// System calls refused to this process from here on, as a failing disk or
// a limit of the system refuses them. The filter stays until the process
// ends: run the case in a child process (Inicia_Outro).

// The kernel answers this process's (and only its) system call `chamada`
// with `erro` where its argument number `argumento`, masked by `mascara`,
// equals `valor`; every call when `mascara` is 0. False where the kernel
// does not let a filter be installed.
bool Recusa(long chamada, unsigned argumento, unsigned mascara, unsigned valor, int erro);
// Where the argument has the bit `bit` set.
inline bool Recusa_Com_Bit(long chamada, unsigned argumento, unsigned bit, int erro) {
    return Recusa(chamada, argumento, bit, bit, erro);
}
