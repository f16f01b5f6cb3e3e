// Functions whose first instructions test the function hook on 32-bit ARM,
// in Thumb state (as Debian's armhf compiles) and in ARM state.

        .syntax unified
        .text

// Thumb, at an address 2 modulo 4 (a longer jump): a literal load, a
// compare-and-branch and a call among the moved instructions; -1 for 0,
// else 42.
        .balign 4
        .thumb
        nop
        .globl  hookCaseRelativeThumb
        .type   hookCaseRelativeThumb, %function
        .thumb_func
hookCaseRelativeThumb:
        ldr     r1, 3f
        cbz     r0, 2f
        push    {r4, lr}
        bl      answerSecond
        pop     {r4, pc}
2:      movs    r0, #0
        subs    r0, #1
        bx      lr
        .balign 4
3:      .word   42
        .size   hookCaseRelativeThumb, . - hookCaseRelativeThumb

        .type   answerSecond, %function
        .thumb_func
answerSecond:
        mov     r0, r1
        bx      lr
        .size   answerSecond, . - answerSecond

// Counts its argument down in a loop whose head is among its first bytes;
// answers the argument.
        .globl  hookCaseBranchBackThumb
        .type   hookCaseBranchBackThumb, %function
        .thumb_func
hookCaseBranchBackThumb:
        movs    r1, #0
1:      adds    r1, #1
        subs    r0, #1
        bne     1b
        mov     r0, r1
        bx      lr
        .size   hookCaseBranchBackThumb, . - hookCaseBranchBackThumb

// Shorter than the jump: answers its argument.
        .globl  hookCaseTooShortThumb
        .type   hookCaseTooShortThumb, %function
        .thumb_func
hookCaseTooShortThumb:
        bx      lr
        .size   hookCaseTooShortThumb, . - hookCaseTooShortThumb

// The same in ARM state: a literal load and a branch moved.
        .balign 4
        .arm
        .globl  hookCaseRelative
        .type   hookCaseRelative, %function
hookCaseRelative:
        ldr     r1, 3f
        b       2f
        nop
2:      cmp     r0, #0
        mvneq   r0, #0
        movne   r0, r1
        bx      lr
3:      .word   42
        .size   hookCaseRelative, . - hookCaseRelative

// A call among the moved instructions: -1 for 0, else 42.
        .globl  hookCaseCalling
        .type   hookCaseCalling, %function
hookCaseCalling:
        push    {r4, lr}
        bl      answerInR1
        cmp     r0, #0
        mvneq   r0, #0
        movne   r0, r1
        pop     {r4, pc}
        .size   hookCaseCalling, . - hookCaseCalling

answerInR1:
        mov     r1, #42
        bx      lr

        .globl  hookCaseBranchBack
        .type   hookCaseBranchBack, %function
hookCaseBranchBack:
        mov     r1, #0
1:      add     r1, r1, #1
        subs    r0, r0, #1
        bne     1b
        mov     r0, r1
        bx      lr
        .size   hookCaseBranchBack, . - hookCaseBranchBack

        .globl  hookCaseTooShort
        .type   hookCaseTooShort, %function
hookCaseTooShort:
        bx      lr
        .size   hookCaseTooShort, . - hookCaseTooShort

        .section .note.GNU-stack, "", %progbits
