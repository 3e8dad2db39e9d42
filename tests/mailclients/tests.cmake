varnquill_test(mailclients_tests SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/mailclients/MailClientSignaturesTest.cpp
               LIBRARIES varnquill_mailclients)
