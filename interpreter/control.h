// IF / THEN / ELSE and FOR / TO / NEXT.
#pragma once

void stmt_if();
void stmt_for();
void stmt_next();
