// A fixed pool of forwarding stubs for hooks on inherited methods.
//
// Stub N loads N into %r11 and jumps to the common body. The body keeps every
// register that can carry an argument (rdi, rsi, rdx, rcx, r8, r9, xmm0-7,
// rax with the vector count of a variadic call, r10 as the static chain),
// asks sbkitTrampolineTarget(N) for the implementation to run, restores the
// registers and the stack exactly as they were at the call, and jumps there:
// the target sees the original arguments, stack arguments included, and
// returns straight to the original caller.

        .text

        .globl  sbkitTrampolineStubs
        .hidden sbkitTrampolineStubs
        .globl  sbkitTrampolineStubsEnd
        .hidden sbkitTrampolineStubsEnd

        .balign 16
sbkitTrampolineStubs:
        .set    stubIndex, 0
        .rept   256
        .balign 16
        movl    $stubIndex, %r11d
        jmp     trampolineBody
        .set    stubIndex, stubIndex + 1
        .endr
        .balign 16
sbkitTrampolineStubsEnd:

        .type   trampolineBody, @function
trampolineBody:
        .cfi_startproc
        // At entry %rsp is 8 modulo 16 (the return address); after the push
        // it is 0, and the frame below is a multiple of 16.
        pushq   %rbp
        .cfi_def_cfa_offset 16
        .cfi_offset %rbp, -16
        movq    %rsp, %rbp
        .cfi_def_cfa_register %rbp
        subq    $192, %rsp
        movaps  %xmm0, 0(%rsp)
        movaps  %xmm1, 16(%rsp)
        movaps  %xmm2, 32(%rsp)
        movaps  %xmm3, 48(%rsp)
        movaps  %xmm4, 64(%rsp)
        movaps  %xmm5, 80(%rsp)
        movaps  %xmm6, 96(%rsp)
        movaps  %xmm7, 112(%rsp)
        movq    %rdi, 128(%rsp)
        movq    %rsi, 136(%rsp)
        movq    %rdx, 144(%rsp)
        movq    %rcx, 152(%rsp)
        movq    %r8, 160(%rsp)
        movq    %r9, 168(%rsp)
        movq    %rax, 176(%rsp)
        movq    %r10, 184(%rsp)

        movq    %r11, %rdi
        call    sbkitTrampolineTarget
        movq    %rax, %r11

        movaps  0(%rsp), %xmm0
        movaps  16(%rsp), %xmm1
        movaps  32(%rsp), %xmm2
        movaps  48(%rsp), %xmm3
        movaps  64(%rsp), %xmm4
        movaps  80(%rsp), %xmm5
        movaps  96(%rsp), %xmm6
        movaps  112(%rsp), %xmm7
        movq    128(%rsp), %rdi
        movq    136(%rsp), %rsi
        movq    144(%rsp), %rdx
        movq    152(%rsp), %rcx
        movq    160(%rsp), %r8
        movq    168(%rsp), %r9
        movq    176(%rsp), %rax
        movq    184(%rsp), %r10
        leave
        .cfi_def_cfa %rsp, 8
        jmp     *%r11
        .cfi_endproc
        .size   trampolineBody, . - trampolineBody

        .section .note.GNU-stack, "", @progbits
