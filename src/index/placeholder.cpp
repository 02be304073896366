int saldex_index_placeholder = 0;
