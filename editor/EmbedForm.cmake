# Writes the form text FORM into OUTPUT as a raw string literal, through the
# source TEMPLATE. Run with cmake -P.
file(READ ${FORM} FORM_TEXT)
# The literal ends at `)form"`; a form holding that text would end it early.
string(FIND "${FORM_TEXT}" ")form\"" clash)
if(NOT clash EQUAL -1)
  message(FATAL_ERROR "${FORM}: the text ')form\"' cannot be embedded")
endif()
configure_file(${TEMPLATE} ${OUTPUT} @ONLY)
