#include "support/Recusa.h"
#include <QtGlobal>
#include <cstddef>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <vector>

bool Recusa(long chamada, unsigned argumento, unsigned mascara, unsigned valor, int erro) {
    const unsigned posicao = unsigned(offsetof(seccomp_data, args) + argumento * sizeof(quint64)) +
                             (__BYTE_ORDER__ == __ORDER_BIG_ENDIAN__ ? 4 : 0);
    const unsigned char testes = mascara ? 3 : 0;  // the argument's three instructions, when there is one
    std::vector<sock_filter> filtro = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, unsigned(chamada), 0, static_cast<unsigned char>(testes + 1)),
    };
    if (mascara) {
        filtro.push_back(BPF_STMT(BPF_LD | BPF_W | BPF_ABS, posicao));
        filtro.push_back(BPF_STMT(BPF_ALU | BPF_AND | BPF_K, mascara));
        filtro.push_back(BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, valor, 0, 1));
    }
    filtro.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | (unsigned(erro) & SECCOMP_RET_DATA)));
    filtro.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW));
    sock_fprog programa{static_cast<unsigned short>(filtro.size()), filtro.data()};
    return ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 && ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &programa) == 0;
}
