// A fixed pool of forwarding stubs for hooks on inherited methods, for 32-bit
// ARM with the hard-float calling convention.
//
// Stub N loads N into ip (r12, free to use between a call and its target) and
// branches to the common body. The body keeps every register that can carry
// an argument (r0-r3, d0-d7) and the return address, asks
// sbkitTrampolineTarget(N) for the implementation to run, restores the
// registers and the stack exactly as they were at the call, and jumps there:
// the target sees the original arguments, stack arguments included, and
// returns straight to the original caller. The stubs are in ARM state; the
// jump with bx follows the target into Thumb state when its address says so.

        .syntax unified
        .arm
        .fpu    vfpv3-d16
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
        mov     ip, #stubIndex
        b       trampolineBody
        .set    stubIndex, stubIndex + 1
        .endr
        .balign 16
sbkitTrampolineStubsEnd:

        .type   trampolineBody, %function
trampolineBody:
        .fnstart
        // Six words keep the stack 8-byte aligned for the call; r4 is saved
        // only for that and is not changed.
        .save   {r0-r4, lr}
        push    {r0-r4, lr}
        .vsave  {d0-d7}
        vpush   {d0-d7}

        mov     r0, ip
        bl      sbkitTrampolineTarget
        mov     ip, r0

        vpop    {d0-d7}
        pop     {r0-r4, lr}
        bx      ip
        .fnend
        .size   trampolineBody, . - trampolineBody

        .section .note.GNU-stack, "", %progbits
