// Functions whose first instructions test the function hook on x86_64.

        .text

// Reads a value RIP-relatively and branches on its argument within the
// bytes the hook moves: -1 for 0, else 42.
        .globl  hookCaseRelative
        .type   hookCaseRelative, @function
hookCaseRelative:
        testl   %edi, %edi
        je      1f
        movl    caseValue(%rip), %eax
        ret
1:      movl    $-1, %eax
        ret
        .size   hookCaseRelative, . - hookCaseRelative

// A call among the moved bytes: -1 for 0, else 42.
        .globl  hookCaseCalling
        .type   hookCaseCalling, @function
hookCaseCalling:
        call    answerInEcx
        movl    %ecx, %eax
        testl   %edi, %edi
        jne     1f
        movl    $-1, %eax
1:      ret
        .size   hookCaseCalling, . - hookCaseCalling

answerInEcx:
        movl    $42, %ecx
        ret

// Counts its argument down in a loop whose head is among its first five
// bytes; answers the argument.
        .globl  hookCaseBranchBack
        .type   hookCaseBranchBack, @function
hookCaseBranchBack:
        xorl    %eax, %eax
1:      addl    $1, %eax
        subl    $1, %edi
        jnz     1b
        ret
        .size   hookCaseBranchBack, . - hookCaseBranchBack

// Shorter than the jump: answers its argument, in three bytes.
        .globl  hookCaseTooShort
        .type   hookCaseTooShort, @function
hookCaseTooShort:
        movl    %edi, %eax
        ret
        .size   hookCaseTooShort, . - hookCaseTooShort
        int3
        int3
        int3
        int3
        int3
        int3

        .section .rodata
        .balign 4
caseValue:
        .long   42

        .section .note.GNU-stack, "", @progbits
