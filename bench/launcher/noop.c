/* The program the launcher benchmark starts: does nothing, linked
   statically so that its own start costs as little as possible. */
int main(void) { return 0; }
