/* The baseline for start-up cost: a program that does nothing. */
int main(void) { return 0; }
