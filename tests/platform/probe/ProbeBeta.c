/* Exports the same name as the alpha probe with another answer, so a test
 * can tell which library a symbol came from. */
int probe_answer(void) {
  return 7;
}
