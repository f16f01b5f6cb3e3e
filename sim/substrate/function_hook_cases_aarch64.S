// Functions whose first instructions test the function hook on 64-bit ARM.

        .text

// An adrp and a compare-and-branch are the two instructions the jump takes
// the place of, a literal load follows; -1 for 0, else 42.
        .globl  hookCaseRelative
        .type   hookCaseRelative, %function
        .balign 4
hookCaseRelative:
        adrp    x2, caseValue
        cbz     w0, 2f
        ldr     w1, 3f
        add     x2, x2, :lo12:caseValue
        ldr     w2, [x2]
        cmp     w1, w2
        csel    w0, w1, wzr, eq
        ret
2:      mov     w0, #-1
        ret
3:      .word   42
        .size   hookCaseRelative, . - hookCaseRelative

// A call among the moved instructions: -1 for 0, else 42.
        .globl  hookCaseCalling
        .type   hookCaseCalling, %function
hookCaseCalling:
        stp     x29, x30, [sp, #-16]!
        bl      answerInW1
        ldp     x29, x30, [sp], #16
        cmp     w0, #0
        csinv   w0, w1, wzr, ne
        ret
        .size   hookCaseCalling, . - hookCaseCalling

answerInW1:
        mov     w1, #42
        ret

// Counts its argument down in a loop whose head is the second instruction,
// which the jump overwrites; answers the argument.
        .globl  hookCaseBranchBack
        .type   hookCaseBranchBack, %function
hookCaseBranchBack:
        mov     w1, #0
1:      add     w1, w1, #1
        subs    w0, w0, #1
        b.ne    1b
        mov     w0, w1
        ret
        .size   hookCaseBranchBack, . - hookCaseBranchBack

// Shorter than the jump, one instruction: answers its argument.
        .globl  hookCaseTooShort
        .type   hookCaseTooShort, %function
hookCaseTooShort:
        ret
        .size   hookCaseTooShort, . - hookCaseTooShort

        .section .rodata
        .balign 4
caseValue:
        .long   42

        .section .note.GNU-stack, "", %progbits
