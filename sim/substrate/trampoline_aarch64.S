// A fixed pool of forwarding stubs for hooks on inherited methods, for
// 64-bit ARM.
//
// Stub N loads N into x16 (IP0, free to use between a call and its target)
// and branches to the common body. The body keeps every register that can
// carry an argument (x0-x7, x8 with the address of a returned structure,
// q0-q7 whole, as vectors travel in them) and the frame and link registers,
// asks sbkitTrampolineTarget(N) for the implementation to run, restores the
// registers and the stack exactly as they were at the call, and jumps there
// through x17: the target sees the original arguments, stack arguments
// included, and returns straight to the original caller.

        .text

        .globl  sbkitTrampolineStubs
        .hidden sbkitTrampolineStubs
        .globl  sbkitTrampolineStubsEnd
        .hidden sbkitTrampolineStubsEnd

        // Every stub starts on a 16-byte boundary, as on the other processors.
        .balign 16
sbkitTrampolineStubs:
        .set    stubIndex, 0
        .rept   256
        .balign 16
        mov     x16, #stubIndex
        b       trampolineBody
        .set    stubIndex, stubIndex + 1
        .endr
        .balign 16
sbkitTrampolineStubsEnd:

        .type   trampolineBody, %function
trampolineBody:
        .cfi_startproc
        stp     x29, x30, [sp, #-16]!
        .cfi_def_cfa_offset 16
        .cfi_offset x29, -16
        .cfi_offset x30, -8
        mov     x29, sp
        .cfi_def_cfa_register x29
        // The stack stays 16-byte aligned: 8 vector and 9 general registers
        // in 208 bytes.
        sub     sp, sp, #208
        stp     q0, q1, [sp, #0]
        stp     q2, q3, [sp, #32]
        stp     q4, q5, [sp, #64]
        stp     q6, q7, [sp, #96]
        stp     x0, x1, [sp, #128]
        stp     x2, x3, [sp, #144]
        stp     x4, x5, [sp, #160]
        stp     x6, x7, [sp, #176]
        str     x8, [sp, #192]

        mov     x0, x16
        bl      sbkitTrampolineTarget
        mov     x17, x0

        ldp     q0, q1, [sp, #0]
        ldp     q2, q3, [sp, #32]
        ldp     q4, q5, [sp, #64]
        ldp     q6, q7, [sp, #96]
        ldp     x0, x1, [sp, #128]
        ldp     x2, x3, [sp, #144]
        ldp     x4, x5, [sp, #160]
        ldp     x6, x7, [sp, #176]
        ldr     x8, [sp, #192]
        mov     sp, x29
        ldp     x29, x30, [sp], #16
        .cfi_def_cfa sp, 0
        br      x17
        .cfi_endproc
        .size   trampolineBody, . - trampolineBody

        .section .note.GNU-stack, "", %progbits
